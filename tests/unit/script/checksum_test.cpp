// The stream checksum on small inputs worked out by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "script/jc_checksum.h"

namespace {

using vb::script::jcChecksum;

std::uint32_t sum(std::vector<std::uint8_t> v) { return jcChecksum(v.data(), v.size()); }

TEST(JcChecksum, FewerThanFourBytesGiveZero) {
    EXPECT_EQ(sum({}), 0u);
    EXPECT_EQ(sum({0xFF}), 0u);
    EXPECT_EQ(sum({0xFF, 0xFF, 0xFF}), 0u);
}

TEST(JcChecksum, OneWord) {
    // w = 1: acc = 1, then 1 ^ (2 + 1 + 0) = 2.
    EXPECT_EQ(sum({1, 0, 0, 0}), 2u);
    // w = 0x80000000: acc = w, then w ^ (0 + 1 + 1).
    EXPECT_EQ(sum({0, 0, 0, 0x80}), 0x80000002u);
    // w = 0xFFFFFFFF: (w << 1) + 1 + 1 wraps to 0, so acc stays w.
    EXPECT_EQ(sum({0xFF, 0xFF, 0xFF, 0xFF}), 0xFFFFFFFFu);
    // "AAAA": 0x41414141 ^ 0x82828283.
    EXPECT_EQ(sum({'A', 'A', 'A', 'A'}), 0xC3C3C3C2u);
}

TEST(JcChecksum, WordsAreLittleEndian) {
    // w = 0x00000100 (not 0x00010000): acc = 0x100 ^ 0x201 = 0x301.
    EXPECT_EQ(sum({0, 1, 0, 0}), 0x301u);
}

TEST(JcChecksum, TwoWordsAccumulate) {
    // After {1,0,0,0}: 2. Next w = 1: 3, then 3 ^ 3 = 0.
    EXPECT_EQ(sum({1, 0, 0, 0, 1, 0, 0, 0}), 0u);
    // After 0xFFFFFFFF: acc = w. Next w = 1: acc wraps to 0, then 0 ^ 3.
    EXPECT_EQ(sum({0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0}), 3u);
}

TEST(JcChecksum, TailOverlapsThePreviousWord) {
    // Words: {1,0,0,0} then the last four bytes {0,0,0,2} = 0x02000000.
    // 2 + 0x02000000 = 0x02000002, ^ (0x04000000 + 1) = 0x06000003.
    EXPECT_EQ(sum({1, 0, 0, 0, 2}), 0x06000003u);
    // Six bytes: {1,0,0,0} then {0,0,2,0} = 0x00020000.
    // 2 + 0x20000 = 0x20002, ^ 0x40001 = 0x60003.
    EXPECT_EQ(sum({1, 0, 0, 0, 2, 0}), 0x60003u);
}

}  // namespace
