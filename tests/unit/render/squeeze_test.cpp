// The squeeze straight into a frame against the rule it stands for: copy
// the picture, resize the copy to n columns at its own height, draw it.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "render/raster.h"
#include "render/squeeze.h"

using namespace vb::pixels;
using namespace vb::render;

namespace {

Picture noise(int w, int h, std::uint32_t seed, bool hasAlpha = false) {
    std::optional<Picture> p = makePicture(w, h, hasAlpha);
    EXPECT_TRUE(p);
    if (!p) return Picture{};
    std::mt19937 random(seed);
    for (auto& px : p->pixels) {
        std::uint32_t v = random();
        // Every fourth pixel at the channel extremes, where rounding bites.
        if (v % 4 == 0) v = (v & 1 ? 0xFFFFFFu : 0u) ^ (v & 0x00FF00u);
        px = hasAlpha ? v : v & 0xFFFFFFu;
    }
    return *p;
}

Picture byRule(const Picture& frame, const Picture& source, int n) {
    Picture expected = frame;
    std::optional<Picture> copy = CopyPicture(source);
    EXPECT_TRUE(copy);
    if (!copy) return expected;
    EXPECT_TRUE(Resize(*copy, n, source.height));
    DrawPicture(expected, *copy, 0, 0);
    return expected;
}

// Both squeezes, the one through kept sums with sums made afresh and with
// sums kept from earlier squeezes of other sources and widths, with and
// without the processor's wider vectors.
void expectSameAsRule(const Picture& frame, const Picture& source, int n) {
    static SqueezeSums shared;
    Picture expected = byRule(frame, source, n);
    for (int way = 0; way < 5; ++way) {
        SqueezeSums fresh;
        Picture fast = frame;
        AllowWideSqueeze(way < 3);
        const bool squeezed = way == 0       ? SqueezeAcross(fast, source, n)
                              : way % 2 == 1 ? SqueezeAcross(fast, source, n, fresh)
                                             : SqueezeAcross(fast, source, n, shared);
        AllowWideSqueeze(true);
        ASSERT_TRUE(squeezed) << "way " << way << ", " << source.width << " to " << n;
        ASSERT_EQ(fast.pixels.size(), expected.pixels.size());
        for (std::size_t i = 0; i < fast.pixels.size(); ++i)
            ASSERT_EQ(fast.pixels[i], expected.pixels[i])
                << "way " << way << ", source " << source.width << " x " << source.height << " to " << n
                << " columns, frame " << frame.width << " wide, pixel (" << i % frame.width << ", "
                << i / frame.width << ")";
    }
}

}  // namespace

TEST(SqueezeAcross, EveryWidthUpToFortyToEveryColumnCount) {
    // Narrowing, widening and equal widths, into frames wider and narrower
    // than the squeezed picture.
    for (int s = 1; s <= 40; ++s) {
        Picture source = noise(s, 3, static_cast<std::uint32_t>(s));
        for (int n = 1; n <= 2 * s + 3; ++n) {
            Picture wide = noise(2 * s + 5, 3, 1000u + static_cast<std::uint32_t>(n));
            expectSameAsRule(wide, source, n);
            Picture narrow = noise(std::max(1, n / 2), 3, 2000u + static_cast<std::uint32_t>(n));
            expectSameAsRule(narrow, source, n);
        }
    }
}

TEST(SqueezeAcross, BarSizedPicturesAtManyFills) {
    for (int width : {99, 400, 401, 1000}) {
        for (int height : {1, 30}) {
            Picture source = noise(width, height, static_cast<std::uint32_t>(width * height));
            Picture frame = noise(width, height, 7);
            for (int n :
                 {1, 2, 3, width / 7, width / 3, width / 2 - 1, width / 2, width - 1, width, width + 1})
                if (n >= 1) expectSameAsRule(frame, source, n);
        }
    }
}

TEST(SqueezeAcross, OntoAFrameWithAlphaWritesOpaquePixels) {
    Picture source = noise(17, 4, 3);
    Picture frame = noise(20, 4, 4, true);
    for (int n : {1, 5, 17, 20, 25}) expectSameAsRule(frame, source, n);
}

TEST(SqueezeAcross, TheWidestPackedSourceStillExact) {
    // 8208 columns of white: the largest sums the packed arithmetic holds.
    std::optional<Picture> white = makePicture(8208, 1);
    ASSERT_TRUE(white);
    for (auto& px : white->pixels) px = 0xFFFFFFu;
    std::optional<Picture> frame = makePicture(300, 1);
    ASSERT_TRUE(frame);
    for (int n : {1, 3, 299, 300}) expectSameAsRule(*frame, *white, n);
}

// Sums kept for one picture are made again when its pixels change, even
// at the same size.
TEST(SqueezeAcross, KeptSumsFollowTheSource) {
    SqueezeSums kept;
    Picture source = noise(50, 4, 21);
    Picture frame = noise(50, 4, 22);
    for (int round = 0; round < 3; ++round) {
        Picture fast = frame;
        ASSERT_TRUE(SqueezeAcross(fast, source, 31, kept));
        EXPECT_EQ(fast.pixels, byRule(frame, source, 31).pixels) << "round " << round;
        source.at(round * 7, round) ^= 0x00FF00u;  // one pixel changed in place
    }
    // Taken on the caller's word, sums of another size are still made again.
    Picture wider = noise(64, 4, 23);
    Picture fast = frame;
    ASSERT_TRUE(SqueezeAcross(fast, wider, 31, kept, KeptSums::unchanged));
    EXPECT_EQ(fast.pixels, byRule(frame, wider, 31).pixels);
}

TEST(SqueezeAcross, LeavesWhatItCannotDoToTheCaller) {
    Picture source = noise(10, 3, 5);
    Picture frame = noise(12, 3, 6);
    const Picture before = frame;
    EXPECT_FALSE(SqueezeAcross(frame, source, 0));
    EXPECT_FALSE(SqueezeAcross(frame, source, -4));
    EXPECT_FALSE(SqueezeAcross(frame, noise(10, 3, 5, true), 4));  // alpha: blended, not copied
    EXPECT_FALSE(SqueezeAcross(frame, noise(10, 4, 5), 4));        // the height would change
    std::optional<Picture> tooWide = makePicture(8209, 3);
    ASSERT_TRUE(tooWide);
    EXPECT_FALSE(SqueezeAcross(frame, *tooWide, 4));
    Picture broken = source;
    broken.pixels.pop_back();
    EXPECT_FALSE(SqueezeAcross(frame, broken, 4));
    SqueezeSums kept;
    EXPECT_FALSE(SqueezeAcross(frame, source, 0, kept));
    EXPECT_FALSE(SqueezeAcross(frame, *tooWide, 4, kept));
    EXPECT_FALSE(SqueezeAcross(frame, broken, 4, kept));
    EXPECT_EQ(frame.pixels, before.pixels);
}

TEST(RoundedQuotient, EqualsIntegerDivisionForEverySumTheSqueezeMakes) {
    // The vector paths' division by one single-precision multiply (or fused
    // multiply-add) against floor((sum + divisor / 2) / divisor): every sum
    // up to 255 x divisor, for every small divisor and the largest ones the
    // squeeze takes.
    const bool fused = HasFusedMultiplyAdd();
    auto check = [fused](std::uint32_t divisor) {
        const std::uint32_t half = divisor / 2;
        for (std::uint32_t sum = 0; sum <= 255 * divisor; ++sum) {
            const std::uint32_t quotient = (sum + half) / divisor;
            if (RoundedQuotient(sum, divisor) != quotient ||
                (fused && RoundedQuotientFused(sum, divisor) != quotient)) {
                ADD_FAILURE() << sum << " / " << divisor;
                return;
            }
        }
    };
    for (std::uint32_t divisor = 1; divisor <= 1024; ++divisor) check(divisor);
    for (std::uint32_t divisor : {4095u, 4096u, 4097u, 6000u, 8191u, 8192u, 8193u, 8207u, 8208u})
        check(divisor);
}

TEST(SqueezeAcross, WideMiddlesAndJunkAboveTheColoursOfASourceWithoutAlpha) {
    // Narrowing by more than 128 columns a pixel takes the packed way for
    // that pixel, beside vector ones; the byte above the colours of a source
    // without alpha counts for nothing either way.
    Picture source = noise(1000, 2, 11);
    Picture junk = source;
    for (std::size_t i = 0; i < junk.pixels.size(); ++i)
        junk.pixels[i] |= static_cast<std::uint32_t>(i * 37 % 256) << 24;
    for (int n : {1, 2, 5, 7, 8, 9, 13, 250, 999}) {
        Picture frame = noise(1000, 2, 12);
        expectSameAsRule(frame, source, n);
        Picture clean = frame, dirty = frame, dirtyBySums = frame;
        SqueezeSums kept;
        ASSERT_TRUE(SqueezeAcross(clean, source, n));
        ASSERT_TRUE(SqueezeAcross(dirty, junk, n));
        ASSERT_TRUE(SqueezeAcross(dirtyBySums, junk, n, kept));
        EXPECT_EQ(clean.pixels, dirty.pixels) << n;
        EXPECT_EQ(clean.pixels, dirtyBySums.pixels) << n;
    }
}
