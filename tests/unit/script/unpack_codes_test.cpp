// Streams written bit by bit from the format, one code family at a time.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "script/unpack.h"
#include "tests/unit/script/bit_string.h"

namespace {

using vb::test::binary;
using vb::test::gammaCode;
using vb::test::jcStream;
using Bytes = std::vector<std::uint8_t>;

const std::string kWidth8 = "001 0000 0 1";
const std::string kEnd = " 000 0000000 00";

std::string literal8(char c) { return " 1 " + binary(std::uint8_t(c), 8); }

// Decodes into a buffer with room to spare and checks the spare stays clean.
Bytes decode(const Bytes& stream) {
    std::uint32_t declared = 0;
    if (!vb::script::jcDeclaredSize(stream.data(), stream.size(), &declared)) return {0xBA, 0xD2};
    Bytes out(std::size_t(declared) + 64, 0xEE);
    const vb::script::JcUnpackResult r =
        vb::script::unpackJcStream(stream.data(), stream.size(), out.data(), out.size());
    if (!r.ok) return {0xBA, 0xD0};
    for (std::size_t i = r.size; i < out.size(); ++i) {
        if (out[i] != 0xEE) return {0xBA, 0xD1};
    }
    out.resize(r.size);
    return out;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(JcCodes, LiteralZeroAndShortMatch) {
    // 'A', a zero byte, then three bytes from offset 1.
    const std::string bits = kWidth8 + literal8('A') + " 001 0001" + " 000 0000001 01" + kEnd;
    EXPECT_EQ(decode(jcStream(5, 0, bits)), (Bytes{0x41, 0, 0, 0, 0}));
}

TEST(JcCodes, ShortMatchOverlapsItsOwnOutput) {
    const std::string bits = kWidth8 + literal8('a') + " 000 0000001 11" + kEnd;
    EXPECT_EQ(decode(jcStream(6, 0, bits)), text("aaaaaa"));
}

TEST(JcCodes, LongMatchAtNearOffsetAddsFour) {
    // Offset 3 = (g 3 - 3) << 8 | 3; stored length 2 copies 2 + 4 bytes.
    const std::string bits =
        kWidth8 + literal8('A') + literal8('B') + literal8('C') + " 01 10 00000011 00" + kEnd;
    EXPECT_EQ(decode(jcStream(9, 0, bits)), text("ABCABCABC"));
}

TEST(JcCodes, RepeatUsesTheLastOffset) {
    // Long match at offset 3 (6 bytes), then g = 2: three more bytes from 3.
    const std::string bits =
        kWidth8 + literal8('A') + literal8('B') + literal8('C') + " 01 10 00000011 00" + " 01 00 10" + kEnd;
    EXPECT_EQ(decode(jcStream(12, 0, bits)), text("ABCABCABCABC"));
}

TEST(JcCodes, RepeatBeforeAnyMatchUsesOffsetOne) {
    const std::string bits = kWidth8 + literal8('q') + " 01 00 00" + kEnd;
    EXPECT_EQ(decode(jcStream(3, 0, bits)), text("qqq"));
}

TEST(JcCodes, ShortMatchSetsTheLastOffset) {
    // "abc", short match offset 3 length 2 ("ab"), repeat of 2 from offset 3 ("ca").
    const std::string bits =
        kWidth8 + literal8('a') + literal8('b') + literal8('c') + " 000 0000011 00" + " 01 00 00" + kEnd;
    EXPECT_EQ(decode(jcStream(7, 0, bits)), text("abcabca"));
}

TEST(JcCodes, NearCopyKeepsTheLastOffset) {
    // "xyz", one byte from offset 2 ('y'), then a repeat of 2 from offset 1.
    const std::string bits =
        kWidth8 + literal8('x') + literal8('y') + literal8('z') + " 001 0011" + " 01 00 00" + kEnd;
    EXPECT_EQ(decode(jcStream(6, 0, bits)), text("xyzyyy"));
}

TEST(JcCodes, NearCopyReachesFourteenBack) {
    std::string bits = kWidth8;
    for (char c = 'a'; c <= 'n'; ++c) bits += literal8(c);  // 14 bytes
    bits += " 001 1111" + kEnd;                             // v = 15: offset 14
    EXPECT_EQ(decode(jcStream(15, 0, bits)), text("abcdefghijklmna"));
}

TEST(JcCodes, RawBlocksThenFarOffsets) {
    // Three raw blocks of k & 255 (768 bytes), then:
    //   offset 200 (bonus 0): g 3, low 200, stored length 2 -> 2 bytes from 568;
    //   offset 700 (bonus 1): g 5, low 188, stored length 2 -> 3 bytes from 70.
    std::string bits = "001 0000 1";
    for (int block = 0; block < 3; ++block) {
        for (int k = 0; k < 256; ++k) bits += binary(std::uint32_t(k), 8);
        bits += block < 2 ? "1" : "0";
    }
    bits += " 01 10 " + binary(200, 8) + " 00";
    bits += " 01 0110 " + binary(188, 8) + " 00";
    bits += kEnd;
    Bytes expected;
    for (int k = 0; k < 768; ++k) expected.push_back(std::uint8_t(k));
    expected.insert(expected.end(), {56, 57});
    expected.insert(expected.end(), {70, 71, 72});
    EXPECT_EQ(decode(jcStream(773, 0, bits)), expected);
}

TEST(JcCodes, CopiesFromEightOrMoreBackOverlapAndStopAtTheDeclaredEnd) {
    // Nine literals, then offset 9 with stored length 16: 20 bytes that read
    // bytes the same copy wrote, then offset 9 again for 2 + 4 bytes that end
    // the output, where a copy in groups of eight would run past it.
    std::string bits = kWidth8;
    for (char c = 'a'; c <= 'i'; ++c) bits += literal8(c);
    bits += " 01 10 " + binary(9, 8) + " " + gammaCode(16);
    bits += " 01 10 " + binary(9, 8) + " " + gammaCode(2);
    bits += kEnd;
    std::string expected;
    for (int k = 0; k < 9 + 20 + 6; ++k) expected += char('a' + k % 9);
    EXPECT_EQ(decode(jcStream(35, 0, bits)), text(expected));
}

TEST(JcCodes, CopiesFromSixteenOrMoreBackRunOnOnlyIntoLaterOutput) {
    // Seventeen literals, then three copies from offset 17 (20, 14 and 6
    // bytes): the first two in groups of sixteen that run on into what the
    // next copy writes, the last too close to the declared end for a group.
    std::string bits = kWidth8;
    for (char c = 'a'; c < 'a' + 17; ++c) bits += literal8(c);
    for (int stored : {16, 10, 2}) bits += " 01 10 " + binary(17, 8) + " " + gammaCode(stored);
    bits += kEnd;
    std::string expected;
    for (int k = 0; k < 17 + 20 + 14 + 6; ++k) expected += char('a' + k % 17);
    EXPECT_EQ(decode(jcStream(57, 0, bits)), text(expected));
}

TEST(JcCodes, OffsetBonusChangesAtEachBoundary) {
    // 'a' and a repeat from the first offset (1) give 65608 bytes of 'a'; each
    // far match then stores length 2 and copies 2 + its bonus. The stream is
    // only accepted when the bonuses add up to the declared size exactly.
    struct Far {
        std::uint32_t offset;
        unsigned bonus;
    };
    const Far fars[] = {{128, 0}, {638, 0}, {639, 1}, {14334, 1}, {14335, 2}, {65535, 2}, {65536, 3}};
    std::string bits = kWidth8 + literal8('a') + " 01 00 " + gammaCode(65607);
    std::size_t size = 65608;
    for (const Far& f : fars) {
        bits += " 01 " + gammaCode((f.offset >> 8) + 3) + " " + binary(f.offset & 0xFF, 8) + " 00";
        size += 2 + f.bonus;
    }
    bits += kEnd;
    const Bytes out = decode(jcStream(std::uint32_t(size), 0, bits));
    ASSERT_EQ(out.size(), size);
    EXPECT_EQ(out, Bytes(size, 'a'));
    EXPECT_EQ(decode(jcStream(std::uint32_t(size - 1), 0, bits)), (Bytes{0xBA, 0xD0}));
    EXPECT_EQ(decode(jcStream(std::uint32_t(size + 1), 0, bits)), (Bytes{0xBA, 0xD0}));
}

TEST(JcCodes, LiteralWidthSevenAddsItsBase) {
    // Width 7, base 0x60: 1 -> 'a', 20 -> 't'; base 0xF0: 0x7F wraps to 0x6F.
    const std::string bits = "001 0000 0 0 01100000" + std::string(" 1 0000001 1 0010100") +
                             " 001 0000 0 0 11110000" + " 1 1111111 1 0010000" + kEnd;
    EXPECT_EQ(decode(jcStream(4, 0, bits)), (Bytes{'a', 't', 0x6F, 0x00}));
}

TEST(JcCodes, LiteralWidthEightResetsTheBase) {
    const std::string bits =
        "001 0000 0 0 00000001" + std::string(" 1 0000000") + kWidth8 + literal8('\x00') + kEnd;
    EXPECT_EQ(decode(jcStream(2, 0, bits)), (Bytes{1, 0}));
}

TEST(JcCodes, IndexWidthChanges) {
    std::string bits = "001 0000 0 0 01100000";
    for (int k = 1; k <= 20; ++k) bits += " 1 " + binary(std::uint32_t(k), 7);  // "a".."t"
    // Width 4 (4-bit form): offset 20 = 1 << 4 | 4, g = 4; 2 + 4 bytes.
    bits += " 000 0000000 01 0100" + std::string(" 01 0100 0100 00");
    // Width 0 (5-bit form): offset 5 = g 8 - 3, no low bits; 2 + 4 bytes.
    bits += " 000 0000000 10 00000" + std::string(" 01 010100 00");
    // Width 12 (6-bit form): offset 7 = g 3, low 7 in 12 bits; 2 + 4 bytes.
    bits += " 000 0000000 11 001100" + std::string(" 01 10 000000000111 00");
    bits += kEnd;
    std::string expected = "abcdefghijklmnopqrst";
    expected += "abcdef";  // from 20 back
    expected += "bcdefb";  // from 5 back, overlapping
    expected += "fbcdef";  // from 7 back
    EXPECT_EQ(decode(jcStream(std::uint32_t(expected.size()), 0, bits)), text(expected));
}

TEST(JcCodes, EmptyOutput) { EXPECT_EQ(decode(jcStream(0, 0, kEnd)), Bytes{}); }

TEST(JcCodes, ChecksumIsTestedWhenNotZero) {
    // "AAAA": 0x41414141 ^ 0x82828283.
    const std::string bits = kWidth8 + literal8('A') + " 000 0000001 01" + kEnd;
    EXPECT_EQ(decode(jcStream(4, 0xC3C3C3C2u, bits)), text("AAAA"));
    EXPECT_EQ(decode(jcStream(4, 0, bits)), text("AAAA"));
    EXPECT_EQ(decode(jcStream(4, 0xC3C3C3C3u, bits)), (Bytes{0xBA, 0xD0}));
}

TEST(JcCodes, BitsAfterTheEndAreIgnored) {
    const std::string bits = kWidth8 + literal8('A') + kEnd + " 1111111111 1111111111";
    Bytes stream = jcStream(1, 0, bits);
    vb::test::putLe32(stream, 0xFFFFFFFFu);  // a whole extra word
    EXPECT_EQ(decode(stream), text("A"));
}

TEST(JcCodes, SimpleApiAnswersBytesWritten) {
    const Bytes s = jcStream(2, 0, kWidth8 + literal8('h') + literal8('i') + kEnd);
    std::uint8_t out[2];
    EXPECT_EQ(vb::script::unpackJc(s.data(), s.size(), out, sizeof out), 2u);
    EXPECT_EQ(out[0], 'h');
    EXPECT_EQ(out[1], 'i');
    std::uint32_t declared = 0;
    ASSERT_TRUE(vb::script::jcDeclaredSize(s.data(), s.size(), &declared));
    EXPECT_EQ(declared, 2u);
}

}  // namespace
