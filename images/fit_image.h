// Scaling a loaded picture down into a box, keeping its aspect ratio.
#pragma once

#include "render/picture.h"

namespace vb::images {

// Only the box side matching the picture's longer side limits it, and a
// picture is never enlarged. False when the picture is empty or the resize
// fails.
bool FitImageToBox(render::Picture& picture, int maxWidth, int maxHeight);

}  // namespace vb::images
