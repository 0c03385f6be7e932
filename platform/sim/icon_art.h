// The stand-in shell's icons, drawn in code: 32 x 32, transparent background.
#pragma once

#include <string>

#include "pixels/picture.h"

namespace vb::platform::art {

constexpr int kIconSide = 32;

enum class DriveLook { Fixed, Removable, Network };

// A page whose colour band and label come from the extension (no dot, any
// case: "TXT" and "txt" look the same). An empty extension gives a plain page.
pixels::Picture documentIcon(const std::string& extension);
pixels::Picture folderIcon();
pixels::Picture driveIcon(DriveLook look);
// The first icon of the shell's own library: a plain page with a blue frame.
pixels::Picture fallbackIcon();

// Which drive look a root path gets: A: and B: are removable, \\server
// paths network drives, everything else a fixed disk.
DriveLook driveLookOf(const char* root);

}  // namespace vb::platform::art
