// Text on pictures: coverage from the platform, blended here.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"
#include "render/picture.h"

namespace vb::render {

// Size of the text's cell in the font (null: the default font); 0 x 0 for "".
int TextWidth(platform::Font font, std::string_view text);
int TextHeight(platform::Font font, std::string_view text);
// Draws the text with the top-left of its cell at (x, y), each channel
// blended toward colour by its coverage; nothing behind the glyphs changes.
// On a picture with alpha, a touched pixel's alpha composes over by its
// largest channel coverage, as blends do (raster.h).
void DrawText(Picture& target, platform::Font font, int x, int y, std::string_view text,
              std::uint32_t colour);

}  // namespace vb::render
