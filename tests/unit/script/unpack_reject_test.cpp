// Streams the unpacker must refuse, and damaged streams that must never
// make it touch memory outside its output.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "script/unpack.h"
#include "tests/unit/script/bit_string.h"
#include "tools/jc/pack.h"

namespace {

using vb::test::binary;
using vb::test::jcStream;
using Bytes = std::vector<std::uint8_t>;

const std::string kWidth8 = "001 0000 0 1";
const std::string kEnd = " 000 0000000 00";

std::string literal8(char c) { return " 1 " + binary(std::uint8_t(c), 8); }

// Exactly the declared size: under the sanitizers any stray write shows.
bool accepted(const Bytes& s, std::size_t capacity) {
    Bytes out(capacity);
    return vb::script::unpackJcStream(s.data(), s.size(), out.data(), out.size()).ok;
}

bool accepted(const Bytes& s) {
    std::uint32_t declared = 0;
    if (!vb::script::jcDeclaredSize(s.data(), s.size(), &declared)) return false;
    return accepted(s, declared);
}

Bytes readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(JcReject, HeaderProblems) {
    const Bytes good = jcStream(1, 0, kWidth8 + literal8('A') + kEnd);
    ASSERT_TRUE(accepted(good));

    Bytes sig = good;
    sig[1] = 'D';
    EXPECT_FALSE(accepted(sig, 1));
    EXPECT_FALSE(accepted(Bytes(good.begin(), good.begin() + 9), 1));  // header cut short
    EXPECT_FALSE(accepted(Bytes{}, 1));
    EXPECT_EQ(vb::script::unpackJc(nullptr, 0, nullptr, 0), 0u);
}

TEST(JcReject, OutputTooSmallForTheDeclaredSize) {
    const Bytes s = jcStream(3, 0, kWidth8 + literal8('a') + literal8('b') + literal8('c') + kEnd);
    EXPECT_TRUE(accepted(s, 3));
    EXPECT_FALSE(accepted(s, 2));
    EXPECT_FALSE(accepted(s, 0));
}

TEST(JcReject, OutputMustEndAtTheDeclaredSize) {
    const std::string three = kWidth8 + literal8('a') + literal8('b') + literal8('c') + kEnd;
    EXPECT_FALSE(accepted(jcStream(2, 0, three), 16));  // would write a third byte
    EXPECT_FALSE(accepted(jcStream(4, 0, three), 16));  // ends one short
}

TEST(JcReject, CopiesThatLeaveTheOutput) {
    // Each would read before the start or write past the declared size.
    EXPECT_FALSE(accepted(jcStream(3, 0, " 01 00 00" + kEnd)));  // repeat at 0
    EXPECT_FALSE(
        accepted(jcStream(3, 0, kWidth8 + literal8('a') + " 000 0000010 00" + kEnd)));     // offset 2 at 1
    EXPECT_FALSE(accepted(jcStream(3, 0, kWidth8 + literal8('a') + " 001 0011" + kEnd)));  // near 2 at 1
    EXPECT_FALSE(
        accepted(jcStream(7, 0, kWidth8 + literal8('a') + " 01 10 00000000 00" + kEnd)));        // offset 0
    EXPECT_FALSE(accepted(jcStream(4, 0, kWidth8 + literal8('a') + " 000 0000001 11" + kEnd)));  // 5 past 4
    EXPECT_FALSE(
        accepted(jcStream(2, 0, kWidth8 + literal8('a') + " 001 0001 001 0001" + kEnd)));  // zero past 2
}

TEST(JcReject, RawBlockPastTheDeclaredSize) {
    std::string bits = "001 0000 1";
    for (int k = 0; k < 256; ++k) bits += "00000000";
    bits += "0" + kEnd;
    EXPECT_TRUE(accepted(jcStream(256, 0, bits)));
    EXPECT_FALSE(accepted(jcStream(255, 0, bits), 1024));
}

TEST(JcReject, LiteralBeforeItsWidthIsSet) { EXPECT_FALSE(accepted(jcStream(1, 0, literal8('A') + kEnd))); }

TEST(JcReject, RunawayGammaCode) {
    std::string bits = kWidth8 + literal8('a') + " 01 00 ";
    for (int i = 0; i < 60; ++i) bits += "11";
    bits += "00" + kEnd;
    EXPECT_FALSE(accepted(jcStream(3, 0, bits), 64));
}

TEST(JcReject, FarOffsetWithWideIndex) {
    // Index width 63, then a long match whose high part shifts far past 2^40.
    const std::string bits = kWidth8 + literal8('a') + " 000 0000000 11 111111" + " 01 0100 " +
                             std::string(63, '0') + " 00" + kEnd;
    EXPECT_FALSE(accepted(jcStream(7, 0, bits), 64));
}

TEST(JcReject, ReadingPastTheLastWord) {
    // 9 + 9 + 2 + 12 bits fill the word exactly; the gamma code still wants
    // its next pair of bits and there is no next word.
    const std::string bits = kWidth8 + literal8('A') + " 01 " + std::string(12, '1');
    ASSERT_EQ(vb::test::bitWords(bits).size(), 4u);
    EXPECT_FALSE(accepted(jcStream(1, 0, bits), 64));
    // A final word cut to three bytes is not read either.
    Bytes s = jcStream(2, 0, kWidth8 + literal8('A') + literal8('B') + kEnd);
    ASSERT_TRUE(accepted(s));
    s.pop_back();
    EXPECT_FALSE(accepted(s));
}

TEST(JcReject, EveryTruncationOfAPackedStream) {
    const Bytes script = readFile(VELUMBAR_OOP_LUA);
    ASSERT_GT(script.size(), 1000u);
    const Bytes packed = vb::jc::packJcStream(script);
    ASSERT_TRUE(accepted(packed));
    for (std::size_t n = 0; n < packed.size(); ++n) {
        const Bytes cut(packed.begin(), packed.begin() + std::ptrdiff_t(n));
        ASSERT_FALSE(accepted(cut, script.size())) << n;
    }
}

TEST(JcReject, BitFlipsAreRejectedOrStayInside) {
    const Bytes script = readFile(VELUMBAR_OOP_LUA);
    for (bool checksum : {true, false}) {
        const Bytes packed = vb::jc::packJcStream(script, {checksum});
        const std::size_t flips = packed.size() * 8;
        std::size_t rejected = 0;
        std::size_t changed = 0;  // accepted with other bytes than the script
        for (std::size_t bit = 0; bit < flips; ++bit) {
            Bytes damaged = packed;
            damaged[bit / 8] ^= std::uint8_t(1u << (bit % 8));
            // Room for the script plus a guard that must stay untouched.
            Bytes out(script.size() + 64, 0xEE);
            const vb::script::JcUnpackResult r =
                vb::script::unpackJcStream(damaged.data(), damaged.size(), out.data(), out.size());
            std::uint32_t declared = 0;
            vb::script::jcDeclaredSize(damaged.data(), damaged.size(), &declared);
            const std::size_t written = declared <= out.size() ? declared : 0;
            for (std::size_t i = written; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << bit;
            if (!r.ok) {
                ++rejected;
                continue;
            }
            ASSERT_EQ(r.size, declared) << bit;
            if (Bytes(out.begin(), out.begin() + std::ptrdiff_t(r.size)) != script) ++changed;
        }
        if (checksum) {
            // The sum is weak (two +1 changes can cancel), but it catches
            // nearly everything.
            EXPECT_LT(changed, flips / 500);
        } else {
            // Without it only the structure catches damage.
            EXPECT_GT(rejected, flips / 10);
            EXPECT_GT(changed, flips / 10);
        }
    }
}

}  // namespace
