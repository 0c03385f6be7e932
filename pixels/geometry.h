// Pixel geometry shared by every floor: rectangles, points and sizes in
// whole pixels, with Windows' conventions (right and bottom exclusive).
#pragma once

namespace vb::pixels {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct Point {
    int x = 0, y = 0;
};

struct Size {
    int width = 0, height = 0;
};

}  // namespace vb::pixels
