// Loaded images: one record per LoadImage, kept in the process-wide
// ImageRegistry in load order. The handle given to scripts is the record's
// address; it is valid only while the registry lists it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pixels/picture.h"
#include "platform/platform.h"

namespace vb::images {

enum ImageKind : int {
    kAssociation = 1,  // the shell's icon for an existing file
    kExtension = 2,    // the shell's icon for a file type
    kFolder = 3,
    kDrive = 4,
    kExecutable = 5,  // an icon resource of a program or library
    kImageFile = 6,   // a decoded image file, at most 32 x 32
};

struct ImageRecord {
    int kind = 0;
    platform::OwnedIcon icon;  // kinds 1-5
    pixels::Picture picture;   // kind 6
};

using ImageHandle = std::uintptr_t;

// Runs the loader for `type` and lists the record; 0 when the type is not
// 1-6 or the loader gives nothing. `lParam` is the icon index for
// executables. Out of memory throws std::bad_alloc, nothing listed.
ImageHandle LoadImageRecord(int type, const char* wParam, int lParam);
// Unlists and destroys the record; false for 0 or an unlisted handle.
bool FreeImageRecord(ImageHandle handle);
// The listed record, or null.
const ImageRecord* FindImageRecord(ImageHandle handle);
// 1-based position of the handle in load order, 0 when not listed.
int ImageRegistryPosition(ImageHandle handle);
std::size_t ImageRegistrySize();
// The icon count of an existing file, 0 when the file test fails.
int CountIconsInFile(const char* path);
// At unload: frees every image still listed; icons are left to the system.
void ReleaseAllImages();

// The file test: a non-empty path naming something that is not a folder.
bool PassesFileTest(const char* path);

// Handles travel through Lua as numbers. A number that is not a whole
// positive value that fits a handle reads as 0, which is never valid.
ImageHandle ImageHandleFromNumber(double number);
double ImageHandleToNumber(ImageHandle handle);

}  // namespace vb::images
