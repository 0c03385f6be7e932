// Icons over SHELL32: SHGetFileInfoA for files, types, folders and drives,
// ExtractIconA/ExtractIconExA for executables and the shell's own icon,
// CreateIconFromResource(Ex) for images of icon files, DrawIconEx into
// 32-bit DIBs to draw them.
#include "platform/win32/win32.h"
// The headers below need <windows.h> first.
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vb::platform {

using namespace win32;

namespace {

Icon fromInfo(const char* path, DWORD attributes, UINT flags) {
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path, attributes, &info, sizeof info, flags)) return nullptr;
    return reinterpret_cast<Icon>(info.hIcon);
}

// A top-down 32-bit DIB section filled with one grey level.
struct GreyCanvas {
    UniqueBitmap bitmap;
    std::uint8_t* bits = nullptr;
};

GreyCanvas makeGreyCanvas(int width, int height, std::uint8_t level) {
    GreyCanvas canvas;
    void* bits = nullptr;
    canvas.bitmap.reset(win32::createDibSection(nullptr, width, height, 32, true, &bits));
    canvas.bits = static_cast<std::uint8_t*>(bits);
    if (canvas.bits) std::memset(canvas.bits, level, static_cast<std::size_t>(width) * height * 4);
    return canvas;
}

// The icon at width x height, moved up by `top` so the canvas holds a band.
bool drawOnto(HICON icon, const GreyCanvas& target, int top, int width, int height) {
    HDC dc = scratchDC();
    SelectedObject selected(dc, target.bitmap.get());
    BOOL drawn = DrawIconEx(dc, 0, -top, icon, width, height, 0, nullptr, DI_NORMAL);
    GdiFlush();
    return drawn != 0;
}

}  // namespace

Icon shellFileIcon(const char* path) {
    if (!isExistingFile(path)) return nullptr;
    return fromInfo(
        path, 0, SHGFI_ICON | SHGFI_SHELLICONSIZE | SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_SYSICONINDEX);
}

Icon shellTypeIcon(const char* extension) {
    if (!extension) return nullptr;
    return fromInfo(extension, FILE_ATTRIBUTE_NORMAL, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
}

Icon shellFolderIcon(const char* path) {
    if (!path) return nullptr;
    return fromInfo(path, FILE_ATTRIBUTE_DIRECTORY, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
}

Icon shellDriveIcon(const char* root) {
    if (!root) return nullptr;
    return fromInfo(root, FILE_ATTRIBUTE_SYSTEM, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
}

Icon shellFallbackIcon() {
    HICON large = nullptr;
    if (ExtractIconExA("shell32.dll", 0, &large, nullptr, 1) == 0) return nullptr;
    return reinterpret_cast<Icon>(large);
}

Icon extractIcon(const char* path, int index) {
    if (!isExistingFile(path)) return nullptr;
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), path, static_cast<UINT>(index));
    // 1 means "not an executable or icon file": no icon either.
    if (reinterpret_cast<UINT_PTR>(icon) == 1) return nullptr;
    return reinterpret_cast<Icon>(icon);
}

int iconCount(const char* path) {
    if (!isExistingFile(path)) return 0;
    HICON count = ExtractIconA(GetModuleHandleA(nullptr), path, static_cast<UINT>(-1));
    return static_cast<int>(reinterpret_cast<UINT_PTR>(count));
}

namespace {

// Resource bits must be DWORD-aligned; an image inside a file may not be,
// so the system is given an aligned copy. `defaultSize` asks for the
// system's large icon size, as CreateIconFromResource does.
Icon iconFromBits(const std::uint8_t* bits, std::size_t size, bool defaultSize, int width, int height) {
    if (!bits || size == 0 || size > 0x7FFFFFFF) return nullptr;
    std::vector<std::uint32_t> aligned((size + 3) / 4);
    std::memcpy(aligned.data(), bits, size);
    PBYTE resource = reinterpret_cast<PBYTE>(aligned.data());
    const DWORD bytes = static_cast<DWORD>(size);
    HICON icon = defaultSize ? CreateIconFromResource(resource, bytes, TRUE, 0x30000)
                             : CreateIconFromResourceEx(resource, bytes, TRUE, 0x30000, width, height, 0);
    return reinterpret_cast<Icon>(icon);
}

}  // namespace

Icon createIconFromResourceEx(const std::uint8_t* bits, std::size_t size, int width, int height) {
    return iconFromBits(bits, size, false, width, height);
}

Icon createIconFromResource(const std::uint8_t* bits, std::size_t size) {
    return iconFromBits(bits, size, true, 0, 0);
}

void destroyIcon(Icon icon) { UniqueIcon(reinterpret_cast<HICON>(icon)).reset(); }

// A monochrome icon keeps its image in the lower half of a double-height mask.
bool iconSize(Icon icon, Size* size) {
    ICONINFO info{};
    if (!icon || !size || !GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return false;
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    bool ok = GetObjectA(colour ? colour.get() : mask.get(), sizeof bm, &bm) != 0;
    if (ok) *size = Size{bm.bmWidth, colour ? bm.bmHeight : bm.bmHeight / 2};
    return ok && size->width > 0 && size->height > 0;
}

// The icon drawn once over black and once over white gives its coverage
// whatever it carries (alpha or mask), and its straight colour back from
// the premultiplied drawing over black.
bool drawIconRows(Icon icon, int width, int height, int top, int rows, std::uint32_t* pixels) {
    if (!icon || !pixels || width <= 0 || height <= 0 || width > 4096 || height > 4096 || top < 0 ||
        rows <= 0 || rows > height - top)
        return false;
    GreyCanvas black = makeGreyCanvas(width, rows, 0), white = makeGreyCanvas(width, rows, 255);
    if (!black.bits || !white.bits) return false;
    HICON h = reinterpret_cast<HICON>(icon);
    if (!drawOnto(h, black, top, width, height) || !drawOnto(h, white, top, width, height)) return false;
    std::size_t count = static_cast<std::size_t>(width) * rows;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* b = black.bits + i * 4;  // blue, green, red
        const std::uint8_t* w = white.bits + i * 4;
        int alpha = 255 - std::clamp((w[0] - b[0] + w[1] - b[1] + w[2] - b[2]) / 3, 0, 255);
        if (alpha == 0) {
            pixels[i] = 0;
            continue;
        }
        unsigned a = static_cast<unsigned>(alpha);
        std::uint32_t colour = a << 24;
        for (int c = 0; c < 3; ++c) colour |= std::min(255u, (b[2 - c] * 255u + a / 2) / a) << (8 * c);
        pixels[i] = colour;
    }
    return true;
}

}  // namespace vb::platform
