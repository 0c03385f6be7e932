// Icon resources of PE files: built ones of both flavours, damaged ones, and
// a real Windows program when the machine has one.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "images/readers/dib_reader.h"
#include "images/readers/pe_resources.h"
#include "pixels/picture.h"
#include "platform/platform.h"
#include "test_support.h"

namespace vb::platform {
namespace {

using namespace vb::images;

using pixels::rgba;
using test::Bytes;
using test::PeGroup;
using test::solidIconDib;

// Group 5 offers 16, 32 (4-bit), 32 (8-bit) and 48; group 6 one 32x32;
// the named group "MAIN" comes first in directory order.
Bytes sample(bool pe32plus) {
    PeGroup five{5, u"", {{16, 16, 8, {}}, {32, 32, 4, {}}, {32, 32, 8, {}}, {48, 48, 32, {}}}, {1, 2, 3, 4}};
    PeGroup six{6, u"", {{32, 32, 24, {}}}, {5}};
    PeGroup named{0, u"MAIN", {{32, 32, 32, {}}}, {6}};
    return test::makePe(pe32plus, {five, six, named},
                        {{1, solidIconDib(16, 8, 0x000001)},
                         {2, solidIconDib(32, 4, 0x000002)},
                         {3, solidIconDib(32, 8, 0x000003)},
                         {4, solidIconDib(48, 32, 0x000004)},
                         {5, solidIconDib(32, 24, 0x000005)},
                         {6, solidIconDib(32, 32, 0x000006)}});
}

// The blue channel of the chosen image says which RT_ICON it was.
int chosenImage(const Bytes& pe, long long index) {
    std::optional<IconImageBytes> image = PeIconImage(pe.data(), pe.size(), index, 32, false);
    if (!image) return -1;
    std::optional<pixels::Picture> px = DecodeIconDib(image->data, image->size);
    if (!px) return -2;
    return pixels::blue(px->pixels[0]);
}

class PeFlavours : public ::testing::TestWithParam<bool> {};

TEST_P(PeFlavours, CountsGroupsAndFindsThemByPositionOrId) {
    Bytes pe = sample(GetParam());
    EXPECT_EQ(PeIconGroupCount(pe.data(), pe.size()), 3);
    EXPECT_EQ(chosenImage(pe, 0), 6);  // the named group comes first
    EXPECT_EQ(chosenImage(pe, 1), 3);  // group 5: 32x32, the deeper of the two
    EXPECT_EQ(chosenImage(pe, 2), 5);
    EXPECT_EQ(chosenImage(pe, 3), -1);  // past the last group
    EXPECT_EQ(chosenImage(pe, -5), 3);  // resource id 5
    EXPECT_EQ(chosenImage(pe, -6), 5);
    EXPECT_EQ(chosenImage(pe, -7), -1);
    EXPECT_EQ(chosenImage(pe, -1), -1);  // no group with id 1
    EXPECT_EQ(chosenImage(pe, std::numeric_limits<long long>::min()), -1);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, PeFlavours, ::testing::Bool());

TEST(PeResources, GroupWithoutItsImagesGivesNothing) {
    PeGroup lonely{1, u"", {{32, 32, 8, {}}}, {99}};
    Bytes pe = test::makePe(false, {lonely}, {{1, solidIconDib(32, 8, 1)}});
    EXPECT_EQ(PeIconGroupCount(pe.data(), pe.size()), 1);
    EXPECT_EQ(chosenImage(pe, 0), -1);
}

TEST(PeResources, PngImagesArePassedOverWhenNotWanted) {
    PeGroup g{1, u"", {{32, 32, 32, {}}, {16, 16, 8, {}}}, {1, 2}};
    std::vector<std::uint32_t> pixels(32 * 32, rgba(1, 1, 1, 255));
    Bytes pe =
        test::makePe(true, {g}, {{1, test::makeRgbaPng(32, 32, pixels)}, {2, solidIconDib(16, 8, 0x000009)}});
    EXPECT_EQ(chosenImage(pe, 0), 9);
    std::optional<IconImageBytes> image = PeIconImage(pe.data(), pe.size(), 0, 32, true);
    ASSERT_TRUE(image);
    EXPECT_TRUE(IsPngData(image->data, image->size));
}

TEST(PeResources, NotPeFilesCountZero) {
    Bytes text = {'M', 'Z', 'x'};
    EXPECT_EQ(PeIconGroupCount(text.data(), text.size()), 0);
    EXPECT_EQ(PeIconGroupCount(nullptr, 0), 0);
    Bytes noResources = sample(false);
    // Clear the resource directory's RVA in the PE32 optional header.
    const std::size_t resourceRva = 0x40 + 4 + 20 + 96 + 16;
    for (int i = 0; i < 4; ++i) noResources[resourceRva + i] = 0;
    EXPECT_EQ(PeIconGroupCount(noResources.data(), noResources.size()), 0);
}

TEST(PeResources, EveryTruncationIsSafe) {
    Bytes pe = sample(true);
    for (std::size_t n = 0; n < pe.size(); n += 3) {
        Bytes cut(pe.begin(), pe.begin() + n);
        int count = PeIconGroupCount(cut.data(), cut.size());
        EXPECT_TRUE(count == 0 || count == 3) << n;
        int image = chosenImage(cut, 0);
        EXPECT_TRUE(image == 6 || image < 0) << n;
    }
}

TEST(PeResources, EveryCorruptedByteIsSafe) {
    Bytes pe = sample(false);
    const std::size_t sectionTableEnd = 0x40 + 4 + 20 + 224 + 40;
    for (std::size_t at = 0; at < pe.size(); ++at) {
        for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0x80}}) {
            Bytes bad = pe;
            bad[at] = value;
            const int count = PeIconGroupCount(bad.data(), bad.size());
            const int image = chosenImage(bad, 1);
            // A count is only ever read from a directory that fits the file.
            EXPECT_LE(static_cast<std::size_t>(count) * 8, bad.size());
            if (at >= sectionTableEnd && at < 0x400) {  // padding nobody reads
                EXPECT_EQ(count, 3);
                EXPECT_EQ(image, 3);
            }
        }
    }
}

TEST(PeResources, ExtractIconThroughTheFile) {
    test::TempDir dir;
    std::string path = dir.write("lib.dll", sample(false));
    EXPECT_EQ(iconCount(path.c_str()), 3);
    Icon icon = extractIcon(path.c_str(), 1);
    ASSERT_NE(icon, nullptr);
    std::vector<std::uint32_t> buffer(32 * 32, 0);
    ASSERT_TRUE(drawIcon(icon, 32, 32, buffer.data()));
    destroyIcon(icon);
    EXPECT_EQ(buffer[40], rgba(0, 0, 3, 255));
    EXPECT_EQ(extractIcon(path.c_str(), 3), nullptr);
    EXPECT_EQ(extractIcon(path.c_str(), -1), nullptr);  // -1 asks for the count
}

// ---- a real Windows program ----------------------------------------------

// Counts RT_GROUP_ICON entries with nothing but the format's fixed offsets,
// apart from the reader under test.
int countGroupsIndependently(const Bytes& f) {
    auto u16 = [&](std::size_t at) { return at + 2 <= f.size() ? f[at] | (f[at + 1] << 8) : -1; };
    auto u32 = [&](std::size_t at) -> long long {
        if (at + 4 > f.size()) return -1;
        return f[at] | (f[at + 1] << 8) | (f[at + 2] << 16) | (static_cast<long long>(f[at + 3]) << 24);
    };
    long long pe = u32(0x3C);
    if (pe < 0) return -1;
    int sections = u16(pe + 6), optionalSize = u16(pe + 20), magic = u16(pe + 24);
    std::size_t dirs = pe + 24 + (magic == 0x20B ? 112 : 96);
    long long rva = u32(dirs + 16);
    for (int s = 0; s < sections; ++s) {
        std::size_t h = pe + 24 + optionalSize + 40 * s;
        long long va = u32(h + 12), raw = u32(h + 16), pointer = u32(h + 20);
        if (rva < va || rva >= va + raw) continue;
        std::size_t root = pointer + (rva - va);
        int n = u16(root + 12) + u16(root + 14);
        for (int i = 0; i < n; ++i) {
            if (u32(root + 16 + 8 * i) != 14) continue;
            std::size_t sub = root + (u32(root + 20 + 8 * i) & 0x7FFFFFFF);
            return u16(sub + 12) + u16(sub + 14);
        }
        return 0;
    }
    return -1;
}

std::vector<std::string> realPrograms() {
    namespace fs = std::filesystem;
    std::vector<std::string> found;
    for (const char* p : {"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe",
                          "/usr/lib/wine/x86_64-windows/notepad.exe",
                          "/usr/lib/i386-linux-gnu/wine/i386-windows/notepad.exe"})
        if (fs::exists(p)) found.push_back(p);
    // Python's packaging tools ship small Windows launchers with an icon.
    std::vector<fs::path> roots = {"/usr/lib/python3/dist-packages", "/usr/lib/google-cloud-sdk"};
    if (const char* home = std::getenv("HOME")) roots.push_back(fs::path(home) / ".pyenv/versions");
    std::error_code ec;
    for (const fs::path& root : roots) {
        if (!fs::exists(root, ec)) continue;
        for (auto it =
                 fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
             it != fs::recursive_directory_iterator() && found.size() < 6; it.increment(ec)) {
            if (ec) break;
            const std::string name = it->path().filename().string();
            if ((name == "w64.exe" || name == "w32.exe") && it->path().parent_path().filename() == "distlib")
                found.push_back(it->path().string());
        }
    }
    return found;
}

int wrestoolCount(const std::string& path) {
    std::string command = "wrestool -l -t 14 '" + path + "' 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    int lines = 0;
    for (int c; (c = std::fgetc(pipe)) != EOF;)
        if (c == '\n') ++lines;
    return ::pclose(pipe) == 0 ? lines : -1;
}

TEST(RealPrograms, CountMatchesIndependentWalks) {
    std::vector<std::string> programs = realPrograms();
    if (programs.empty())
        GTEST_SKIP() << "no Windows program on this machine (wine's notepad.exe or Python's launchers)";
    for (const std::string& path : programs) {
        std::ifstream in(path, std::ios::binary);
        Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const int count = iconCount(path.c_str());
        EXPECT_GE(count, 1) << path;
        EXPECT_EQ(count, countGroupsIndependently(data)) << path;
        const int tool = wrestoolCount(path);
        if (tool >= 0) {
            EXPECT_EQ(count, tool) << path << " (wrestool)";
        }
        Icon icon = extractIcon(path.c_str(), 0);
        ASSERT_NE(icon, nullptr) << path;
        std::vector<std::uint32_t> buffer(32 * 32, 0);
        EXPECT_TRUE(drawIcon(icon, 32, 32, buffer.data()));
        destroyIcon(icon);
        int opaque = 0;
        for (std::uint32_t p : buffer) opaque += pixels::alpha(p) == 255;
        EXPECT_GT(opaque, 32) << path;
    }
}

}  // namespace
}  // namespace vb::platform
