// Fonts of the platform and text drawn onto pictures.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/platform.h"
#include "render/raster.h"
#include "render/text.h"

using namespace vb::pixels;
using namespace vb::render;
namespace platform = vb::platform;

namespace {

platform::FontRequest request(const char* face, int height = -13) {
    platform::FontRequest s;
    s.face = face;
    s.height = height;
    return s;
}

// Destroys the font when the test ends.
struct OwnedFont {
    platform::Font font;
    explicit OwnedFont(const platform::FontRequest& s) : font(platform::createFont(s)) {}
    ~OwnedFont() { platform::destroyFont(font); }
};

int inkOf(const platform::TextCoverage& c) {
    return static_cast<int>(std::count_if(c.rgb.begin(), c.rgb.end(), [](auto v) { return v; }));
}

platform::TextCoverage coverageOf(platform::Font font, std::string_view text) {
    platform::TextCoverage c;
    EXPECT_TRUE(platform::textCoverage(font, text.data(), text.size(), &c));
    return c;
}

}  // namespace

TEST(Fonts, AKnownOrSubstitutedFaceAlwaysGivesAFont) {
    OwnedFont arial(request("Arial"));
    OwnedFont nonsense(request("Qwxzzy Not A Face 42"));
    OwnedFont unnamed(request(""));
    EXPECT_TRUE(platform::isFont(arial.font));
    EXPECT_TRUE(platform::isFont(nonsense.font));
    EXPECT_TRUE(platform::isFont(unnamed.font));
    EXPECT_NE(arial.font, nonsense.font);
    EXPECT_GT(TextWidth(nonsense.font, "Hello"), 0);
}

TEST(Fonts, InventedAndDestroyedHandlesAreRejected) {
    auto invented = reinterpret_cast<platform::Font>(std::uintptr_t{0x1234});
    EXPECT_FALSE(platform::isFont(invented));
    EXPECT_FALSE(platform::isFont(nullptr));
    platform::destroyFont(invented);  // harmless
    EXPECT_EQ(TextWidth(invented, "abc"), 0);
    platform::TextCoverage c;
    EXPECT_FALSE(platform::textCoverage(invented, "abc", 3, &c));

    platform::Font font = platform::createFont(request("Arial"));
    ASSERT_TRUE(platform::isFont(font));
    platform::destroyFont(font);
    EXPECT_FALSE(platform::isFont(font));
    EXPECT_EQ(TextWidth(font, "abc"), 0);
}

TEST(Fonts, HeightIsTheCharacterHeightWhenNegative) {
    OwnedFont small(request("Arial", -10));
    OwnedFont large(request("Arial", -40));
    int h10 = TextHeight(small.font, "x"), h40 = TextHeight(large.font, "x");
    EXPECT_GE(h10, 10);  // the cell adds room above and below the em
    EXPECT_LE(h10, 14);
    EXPECT_GE(h40, 40);
    EXPECT_LE(h40, 52);
    // A positive height asks for the cell itself.
    OwnedFont cell(request("Arial", 20));
    EXPECT_NEAR(TextHeight(cell.font, "x"), 20, 1);
}

TEST(Fonts, AbsurdSizesStillWork) {
    OwnedFont huge(request("Arial", -1000000000));
    OwnedFont tiny(request("Arial", -1));
    EXPECT_TRUE(platform::isFont(huge.font));
    EXPECT_TRUE(platform::isFont(tiny.font));
    EXPECT_GT(TextHeight(huge.font, "x"), 100);
    EXPECT_GE(TextHeight(tiny.font, "x"), 1);
}

TEST(Text, DefaultFontHasASmallGuiCell) {
    int h = TextHeight(nullptr, "Ag");
    EXPECT_GE(h, 12);
    EXPECT_LE(h, 15);
    EXPECT_GT(TextWidth(nullptr, "C"), 3);
}

TEST(Text, EmptyTextMeasuresNothing) {
    EXPECT_EQ(TextWidth(nullptr, ""), 0);
    EXPECT_EQ(TextHeight(nullptr, ""), 0);
    OwnedFont font(request("Arial"));
    EXPECT_EQ(TextWidth(font.font, ""), 0);
    EXPECT_EQ(TextHeight(font.font, ""), 0);
}

TEST(Text, WiderStringsMeasureWider) {
    EXPECT_GT(TextWidth(nullptr, "WW"), TextWidth(nullptr, "W"));
    EXPECT_GT(TextWidth(nullptr, "Progress 100%"), TextWidth(nullptr, "Progress"));
    EXPECT_EQ(TextWidth(nullptr, "ab") + TextWidth(nullptr, "cd"), TextWidth(nullptr, "abcd"));
    EXPECT_EQ(TextHeight(nullptr, "a"), TextHeight(nullptr, "Wgy"));
}

TEST(Text, BoldIsWiderAndItalicHasItsOverhang) {
    platform::FontRequest bold = request("Arial", -20);
    bold.weight = 700;
    platform::FontRequest italic = request("Arial", -20);
    italic.italic = true;
    OwnedFont plain(request("Arial", -20)), heavy(bold), slanted(italic);
    EXPECT_GT(TextWidth(heavy.font, "Hello"), TextWidth(plain.font, "Hello"));
    // The slanted "l" leans past its advance; the cell includes that ink.
    platform::TextCoverage c = coverageOf(slanted.font, "l");
    EXPECT_GE(TextWidth(slanted.font, "l"), c.left + c.width);
}

TEST(Text, UnderlineAndStrikeOutAreLines) {
    platform::FontRequest under = request("Arial", -20);
    under.underline = true;
    platform::FontRequest strike = request("Arial", -20);
    strike.strikeOut = true;
    OwnedFont plain(request("Arial", -20)), lined(under), struck(strike);
    platform::TextCoverage p = coverageOf(plain.font, "ace");
    platform::TextCoverage u = coverageOf(lined.font, "ace");
    platform::TextCoverage s = coverageOf(struck.font, "ace");
    // The line runs below the baseline, where these letters have no ink.
    EXPECT_GT(u.top + u.height, p.top + p.height);
    EXPECT_GT(inkOf(u), inkOf(p));
    EXPECT_GT(inkOf(s), inkOf(p));
    EXPECT_EQ(s.top, p.top);  // through the letters, not above them
}

TEST(Text, BytesAreWindows1252) {
    // 0x80 is the euro sign, a real glyph; 0xE9 is e acute in Latin-1.
    platform::TextCoverage euro = coverageOf(nullptr, "\x80");
    platform::TextCoverage e = coverageOf(nullptr, "e");
    platform::TextCoverage eAcute = coverageOf(nullptr, "\xE9");
    EXPECT_GT(inkOf(euro), 0);
    EXPECT_LT(eAcute.top, e.top);  // the accent rises above the e
    EXPECT_EQ(TextWidth(nullptr, "\xE9"), TextWidth(nullptr, "e"));
}

TEST(Text, BlanksHaveWidthButNoInk) {
    platform::TextCoverage c = coverageOf(nullptr, "   ");
    EXPECT_EQ(c.width, 0);
    EXPECT_TRUE(c.rgb.empty());
    EXPECT_GT(TextWidth(nullptr, "   "), 0);
}

TEST(DrawText, ChangesPixelsOnlyInsideTheCellTowardTheColour) {
    std::optional<Picture> made = makePicture(120, 40);
    ASSERT_TRUE(made);
    Picture& p = *made;
    const std::uint32_t back = rgba(10, 20, 30), ink = rgba(250, 200, 0);
    FillRect(p, 0, 0, 120, 40, back);
    const int x = 7, y = 9;
    DrawText(p, nullptr, x, y, "Hello", ink);
    int w = TextWidth(nullptr, "Hello"), h = TextHeight(nullptr, "Hello");
    int changed = 0, full = 0;
    for (int py = 0; py < 40; ++py)
        for (int px = 0; px < 120; ++px) {
            std::uint32_t c = p.at(px, py);
            if (c == back) continue;
            ++changed;
            full += c == ink;
            EXPECT_TRUE(px >= x && px < x + w && py >= y && py < y + h) << px << "," << py;
            EXPECT_GE(red(c), 10);
            EXPECT_LE(red(c), 250);
            EXPECT_GE(green(c), 20);
            EXPECT_LE(green(c), 200);
            EXPECT_LE(blue(c), 30);
            EXPECT_EQ(alpha(c), 0);
        }
    EXPECT_GT(changed, 20);
    EXPECT_GT(full, 5);  // the stems are fully covered
}

TEST(DrawText, BlendsEveryChannelByItsCoverage) {
    std::optional<Picture> made = makePicture(60, 30);
    ASSERT_TRUE(made);
    Picture& p = *made;
    for (int py = 0; py < 30; ++py)
        for (int px = 0; px < 60; ++px) p.at(px, py) = rgba(px * 4, py * 8, 100);
    Picture before = p;
    const std::uint32_t ink = rgba(0, 255, 60);
    DrawText(p, nullptr, 3, 4, "Ag", ink);
    platform::TextCoverage c = coverageOf(nullptr, "Ag");
    ASSERT_GT(c.width, 0);
    int checked = 0;
    for (int py = 0; py < 30; ++py)
        for (int px = 0; px < 60; ++px) {
            int cx = px - 3 - c.left, cy = py - 4 - c.top;
            bool inMask = cx >= 0 && cy >= 0 && cx < c.width && cy < c.height;
            std::uint8_t covered[3] = {};
            const std::uint8_t* cov = nullptr;
            if (inMask) {
                for (int k = 0; k < 3; ++k)
                    covered[k] = platform::CoverageAt(c, static_cast<std::size_t>(cy * c.width + cx), k);
                cov = covered;
            }
            std::uint32_t d = before.at(px, py);
            std::uint32_t expected = cov ? rgba((red(d) * (255 - cov[0]) + 0 * cov[0]) / 255,
                                                (green(d) * (255 - cov[1]) + 255 * cov[1]) / 255,
                                                (blue(d) * (255 - cov[2]) + 60 * cov[2]) / 255)
                                         : d;
            EXPECT_EQ(p.at(px, py), expected) << px << "," << py;
            checked += cov && cov[0] > 0 && cov[0] < 255;
        }
    EXPECT_GT(checked, 0);  // partial coverage was exercised
}

TEST(DrawText, IsClippedToThePicture) {
    std::optional<Picture> made = makePicture(20, 10);
    ASSERT_TRUE(made);
    Picture& p = *made;
    DrawText(p, nullptr, -1000, -1000, "Hello", 0xFFFFFF);
    DrawText(p, nullptr, 1000, 3, "Hello", 0xFFFFFF);
    DrawText(p, nullptr, INT_MIN, INT_MAX, "Hello", 0xFFFFFF);
    EXPECT_EQ(std::count(p.pixels.begin(), p.pixels.end(), 0u), 200);
    DrawText(p, nullptr, -3, -5, "MMMM", 0xFFFFFF);  // partly inside
    EXPECT_LT(std::count(p.pixels.begin(), p.pixels.end(), 0u), 200);
    DrawText(p, nullptr, 0, 0, "", 0xFFFFFF);
}

TEST(Text, EveryByteValueMeasuresAndDraws) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_GT(TextWidth(nullptr, all), TextWidth(nullptr, all.substr(0, 128)));
    std::optional<Picture> made = makePicture(50, 20, true);
    ASSERT_TRUE(made);
    DrawText(*made, nullptr, -300, 2, all, 0xFFFFFF);
    int touched = 0;
    for (std::uint32_t c : made->pixels) touched += alpha(c) != 0;
    EXPECT_GT(touched, 0);
    // A NUL inside the text is a character like any other, not its end.
    EXPECT_GT(TextWidth(nullptr, std::string_view("ab\0cd", 5)), TextWidth(nullptr, "ab"));
}
