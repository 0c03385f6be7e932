// PNG files of pictures (snapshots, failed comparisons in tests).
#pragma once

#include "render/picture.h"

namespace vb::render {

// Writes RGB, or RGBA when the picture carries alpha. False on any failure.
bool WritePng(const Picture& picture, const char* path);

}  // namespace vb::render
