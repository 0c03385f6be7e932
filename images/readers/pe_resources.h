// Icon resources of Windows executables and libraries (PE32 and PE32+),
// read from the file's bytes so that real .exe and .dll files work here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vb::images {

// Number of RT_GROUP_ICON resources; 0 for anything that is not a PE
// file with such resources.
int PeIconGroupCount(const std::uint8_t* data, std::size_t size);

// Finds the RT_ICON image shown for icon `index`: index >= 0 is the
// group's position in resource directory order, a negative index -N is
// the group whose resource id is N. Of the group's images it takes the one
// closest to side x side, then the deepest, passing over PNG images unless
// `allowPng`. The image's bytes lie inside `data`.
struct IconImageBytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};
std::optional<IconImageBytes> PeIconImage(const std::uint8_t* data, std::size_t size, long long index,
                                          int side, bool allowPng);

}  // namespace vb::images
