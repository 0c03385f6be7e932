// PNG files of pictures (snapshots, failed comparisons in tests).
#pragma once

#include "pixels/picture.h"

namespace vb::render {

// Writes RGB, or RGBA when the picture carries alpha. False on any failure
// but memory running out, which throws std::bad_alloc.
bool WritePng(const pixels::Picture& picture, const char* path);

}  // namespace vb::render
