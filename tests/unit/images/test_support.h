// Builders for the files the image tests load: bitmaps, icon files, PNGs,
// JPEGs and PE files with icon resources, all made in memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vb::test {

using Bytes = std::vector<std::uint8_t>;

// Little-endian appends.
void put16(Bytes& b, unsigned v);
void put32(Bytes& b, std::uint32_t v);

// A folder under the system's temp folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string write(const std::string& name, const Bytes& data) const;
    std::string path(const std::string& name) const;
    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

// A bitmap file. `rows` hold each row's pixel bytes, unpadded, top row
// first; the builder stores them bottom-up unless topDown. `palette` holds
// 0xRRGGBB values. Masks are written after a 40-byte header for
// BI_BITFIELDS, or inside a 124-byte header when v5 is set.
struct BmpLayout {
    int width = 1;
    int height = 1;
    int bitCount = 24;
    bool topDown = false;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    bool v5 = false;
    bool coreHeader = false;  // the 12-byte header with a 3-byte palette
};
Bytes makeBmp(const BmpLayout& request, const std::vector<Bytes>& rows);
// The same file with its pixel data given as stored (run-length data, say).
Bytes makeBmpWithBits(const BmpLayout& request, const Bytes& bits);

// An icon image as a DIB: colour rows top row first (unpadded), a mask with
// one 0/1 value per pixel top row first, palette as 0xRRGGBB.
Bytes makeIconDib(int width, int height, int bitCount, const std::vector<Bytes>& rows,
                  const std::vector<std::vector<int>>& mask, const std::vector<std::uint32_t>& palette = {});

struct IconEntry {
    int width = 0;  // as stored: 0 means 256
    int height = 0;
    int bitCount = 0;
    Bytes image;
};
Bytes makeIconFile(const std::vector<IconEntry>& entries);

// A solid-colour 32-bit icon image of the given size (all alpha 255).
Bytes solidIconDib(int side, int bitCount, std::uint32_t rgb);

// PNG from 8-bit samples. colorType and bitDepth as libpng names them;
// samples hold each row's bytes top row first (16-bit samples big-endian).
Bytes makePng(int width, int height, int colorType, int bitDepth, const std::vector<Bytes>& rows,
              bool interlaced = false, const std::vector<std::uint32_t>& palette = {},
              const Bytes& paletteAlpha = {});
// An RGBA PNG of one colour per pixel (packed, red in the low byte).
Bytes makeRgbaPng(int width, int height, const std::vector<std::uint32_t>& pixels);

// JPEG of 3 (RGB), 1 (grey) or 4 (CMYK, with the Adobe marker) components.
Bytes makeJpeg(int width, int height, int components, const Bytes& samples, int quality = 100);

// A PE file (PE32 or PE32+) with icon resources. Groups list RT_ICON ids;
// a group with a name is stored under that name (named entries come first).
struct PeIcon {
    std::uint16_t id = 0;
    Bytes image;
};
struct PeGroup {
    std::uint16_t id = 0;
    std::u16string name;             // when not empty, the group is named
    std::vector<IconEntry> entries;  // width, height, bitCount of each member
    std::vector<std::uint16_t> iconIds;
};
Bytes makePe(bool pe32plus, const std::vector<PeGroup>& groups, const std::vector<PeIcon>& icons);

// A valid PNG whose header claims another size (its CRC fixed), and a JPEG
// whose first frame header does: files that promise more than they hold.
Bytes claimPngSize(Bytes png, std::uint32_t width, std::uint32_t height);
Bytes claimJpegFrame(Bytes jpeg, std::uint16_t width, std::uint16_t height);

}  // namespace vb::test
