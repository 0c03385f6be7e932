// Text on pictures: coverage from the platform, blended here.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "pixels/picture.h"
#include "platform/platform.h"

namespace vb::render {

// Size of the text's cell in the font (null: the default font); 0 x 0 for "".
int TextWidth(platform::Font font, std::string_view text);
int TextHeight(platform::Font font, std::string_view text);
// Draws the text with the top-left of its cell at (x, y), each channel
// blended toward colour by its coverage; nothing behind the glyphs changes.
// On a picture with alpha, a touched pixel's alpha composes over by its
// largest channel coverage, as blends do (raster.h). May throw
// std::bad_alloc, the target then unchanged.
void DrawText(pixels::Picture& target, platform::Font font, int x, int y, std::string_view text,
              std::uint32_t colour);

// A string's coverage made ready to blend, so it can be kept and drawn many
// times: four weights a pixel in the picture's byte order, placed with its
// top-left at (left, top) from the text cell's origin. The fourth weight
// is for the alpha byte, so a mask suits pictures with or without alpha,
// as `forAlpha` says.
struct TextMask {
    int left = 0, top = 0, width = 0, height = 0;
    bool forAlpha = false;
    std::vector<std::uint8_t> weights;
};

// False when the text leaves no mark (empty, no coverage); may throw
// std::bad_alloc.
bool MakeTextMask(platform::Font font, std::string_view text, bool forAlpha, TextMask* mask);
// The same, with the platform's coverage made in `scratch`, whose buffer a
// caller may keep so that masks of new texts reuse it.
bool MakeTextMask(platform::Font font, std::string_view text, bool forAlpha, TextMask* mask,
                  platform::TextCoverage* scratch);
// The same pixels as DrawText with the text the mask was made from; a mask
// made for the other kind of picture draws nothing.
void DrawTextMask(pixels::Picture& target, const TextMask& mask, int x, int y, std::uint32_t colour);

}  // namespace vb::render
