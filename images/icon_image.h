// The square picture SetIcon hands to a bar, built from an image record.
#pragma once

#include <optional>

#include "images/image_record.h"
#include "pixels/picture.h"

namespace vb::images {

// The icon sizes SetIcon takes, as the VELUMBAR_16x16 to VELUMBAR_48x48
// constants name them.
enum IconSize : int {
    kIcon16 = 1,
    kIcon24 = 2,
    kIcon32 = 3,
    kIcon48 = 4,
};

// The side in pixels of an icon size; any other number gives 16.
int IconSide(int size);

// Icons (kinds 1-5) are drawn at 32 x 32 into a transparent picture, so
// their own transparency shows on the bar, then resized; a loaded image
// (kind 6) is copied with its alpha and stretched to width x height. None
// for other kinds or when a picture cannot be made.
std::optional<pixels::Picture> BuildIconImage(const ImageRecord& record, int width, int height);

}  // namespace vb::images
