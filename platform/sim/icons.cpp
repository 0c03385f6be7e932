// Icons of the stand-in shell. An icon handle is a number looked up in a
// table, so a stale or invented handle is simply not found. Shell icons are
// drawn in code; icons of executables come from their own PE resources.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <string>

#include "images/readers/dib_reader.h"
#include "images/readers/ico_reader.h"
#include "images/readers/icon_directory.h"
#include "images/readers/pe_resources.h"
#include "platform/platform.h"
#include "platform/sim/icon_art.h"

namespace vb::platform {

using namespace vb::images;
namespace {

constexpr int kLargeIcon = 32;  // the system's large icon size

struct IconTable {
    std::map<std::uintptr_t, pixels::Picture> icons;
    std::uintptr_t lastId = 0x7C0000;  // far from small numbers scripts tend to invent
};

// Outlives exit-time destructors, like the window table: an icon may still
// be destroyed from another library's unload step.
IconTable& table() {
    static auto* t = new IconTable;
    return *t;
}

Icon store(pixels::Picture&& pixels) {
    if (pixels.width < 1 || pixels.height < 1) return nullptr;
    IconTable& t = table();
    t.icons.emplace(t.lastId + 4, std::move(pixels));
    t.lastId += 4;
    return reinterpret_cast<Icon>(t.lastId);
}

const pixels::Picture* lookup(Icon icon) {
    auto& icons = table().icons;
    auto it = icons.find(reinterpret_cast<std::uintptr_t>(icon));
    return it == icons.end() ? nullptr : &it->second;
}

// The extension of the last path component, without its dot.
std::string extensionOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    const char* dot = std::strrchr(name, '.');
    return dot ? std::string(dot + 1) : std::string();
}

bool sameNoCase(const std::string& a, const char* b) {
    return a.size() == std::strlen(b) && std::equal(a.begin(), a.end(), b, [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == y;
           });
}

// The best image of an icon file for the large size, as ExtractIcon gives it.
std::optional<pixels::Picture> iconFileImage(const std::vector<std::uint8_t>& data) {
    std::optional<std::vector<IconDirEntry>> entries =
        ReadIconDirectory(data.data(), data.size(), IconDirKind::File);
    int best = entries ? ChooseNearestEntry(*entries, kLargeIcon, false) : -1;
    if (best < 0) return std::nullopt;
    const IconDirEntry& e = (*entries)[static_cast<std::size_t>(best)];
    return DecodeIconDib(data.data() + e.location, e.bytes);
}

}  // namespace

Icon shellFileIcon(const char* path) {
    if (!pathExists(path)) return nullptr;
    if (!isExistingFile(path)) return store(art::folderIcon());
    std::string ext = extensionOf(path);
    // Programs and icon files show their own icon, as the shell does.
    if (sameNoCase(ext, "exe") || sameNoCase(ext, "ico")) {
        if (Icon own = extractIcon(path, 0)) return own;
    }
    return store(art::documentIcon(ext));
}

Icon shellTypeIcon(const char* extension) {
    if (!extension) return nullptr;
    return store(art::documentIcon(extension[0] == '.' ? extension + 1 : extension));
}

Icon shellFolderIcon(const char* path) {
    if (!path) return nullptr;
    return store(art::folderIcon());
}

Icon shellDriveIcon(const char* root) {
    if (!root) return nullptr;
    return store(art::driveIcon(art::driveLookOf(root)));
}

Icon shellFallbackIcon() { return store(art::fallbackIcon()); }

// Index -1 asks the system for a count, which iconCount answers; here it
// gives no icon.
Icon extractIcon(const char* path, int index) {
    std::vector<std::uint8_t> data;
    if (index == -1 || !readWholeFile(path, &data)) return nullptr;
    std::optional<pixels::Picture> pixels;
    if (std::optional<IconImageBytes> image = PeIconImage(data.data(), data.size(), index, kLargeIcon, false))
        pixels = DecodeIconDib(image->data, image->size);
    else if (index == 0 && IsIconFileHeader(data.data(), data.size()))
        pixels = iconFileImage(data);
    return pixels ? store(std::move(*pixels)) : nullptr;
}

int iconCount(const char* path) {
    std::vector<std::uint8_t> data;
    if (!readWholeFile(path, &data)) return 0;
    if (int groups = PeIconGroupCount(data.data(), data.size())) return groups;
    return ReadIconDirectory(data.data(), data.size(), IconDirKind::File) ? 1 : 0;
}

void destroyIcon(Icon icon) { table().icons.erase(reinterpret_cast<std::uintptr_t>(icon)); }

namespace {

// Nearest-pixel scaling into the band: each pixel the icon's colour with
// its coverage in the alpha byte (255 for an image without alpha), and 0
// where it covers nothing.
void copyScaled(const pixels::Picture& src, int width, int height, int top, int rows, std::uint32_t* out) {
    for (int row = 0; row < rows; ++row) {
        const int y = top + row;
        int sy = static_cast<int>((2LL * y + 1) * src.height / (2LL * height));
        for (int x = 0; x < width; ++x) {
            int sx = static_cast<int>((2LL * x + 1) * src.width / (2LL * width));
            std::uint32_t s = src.pixels[static_cast<std::size_t>(sy) * src.width + sx];
            std::uint32_t a = src.hasAlpha ? s >> 24 : 255u;
            out[static_cast<std::size_t>(row) * width + x] = a ? (s & 0xFFFFFFu) | a << 24 : 0u;
        }
    }
}

}  // namespace

// The image is decoded by the same reader as icon files; a size other than
// its own is reached by nearest-pixel scaling.
Icon createIconFromResourceEx(const std::uint8_t* bits, std::size_t size, int width, int height) {
    if (width < 0 || height < 0) return nullptr;
    PictureSink sink;
    if (!DecodeIconImageInto(bits, size, &sink)) return nullptr;
    std::optional<pixels::Picture> image = sink.Take();
    if (!image) return nullptr;
    if (width == 0) width = image->width;
    if (height == 0) height = image->height;
    if (width == image->width && height == image->height) return store(std::move(*image));
    if (static_cast<long long>(width) * height > kMaxHeldPixels) return nullptr;
    std::optional<pixels::Picture> scaled = pixels::makePicture(width, height, true);
    if (!scaled) return nullptr;
    copyScaled(*image, width, height, 0, height, scaled->pixels.data());
    return store(std::move(*scaled));
}

Icon createIconFromResource(const std::uint8_t* bits, std::size_t size) {
    return createIconFromResourceEx(bits, size, kLargeIcon, kLargeIcon);
}

bool iconSize(Icon icon, Size* size) {
    const pixels::Picture* picture = lookup(icon);
    if (!picture || !size) return false;
    *size = Size{picture->width, picture->height};
    return true;
}

bool drawIconRows(Icon icon, int width, int height, int top, int rows, std::uint32_t* pixels) {
    const pixels::Picture* src = lookup(icon);
    if (!src || !pixels || width < 1 || height < 1 || top < 0 || rows < 1 || rows > height - top)
        return false;
    copyScaled(*src, width, height, top, rows, pixels);
    return true;
}

}  // namespace vb::platform
