// The packer's output must come back byte for byte through the unpacker,
// and should actually be small where the data allows it.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "script/jc_block.h"
#include "script/jc_checksum.h"
#include "script/jc_format.h"
#include "script/unpack.h"
#include "tools/jc/embed.h"
#include "tools/jc/pack.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Packs, checks the header, unpacks into exactly the declared size.
::testing::AssertionResult roundTrips(const Bytes& data, bool checksum = true,
                                      std::size_t* packedSize = nullptr) {
    const Bytes packed = vb::jc::packJcStream(data, {checksum});
    if (packedSize != nullptr) *packedSize = packed.size();
    if (packed.size() < vb::script::kJcStreamHeaderSize || packed[0] != 'J' || packed[1] != 'C')
        return ::testing::AssertionFailure() << "bad header";
    if (vb::script::loadLe32(packed.data() + 2) != data.size())
        return ::testing::AssertionFailure() << "wrong size in header";
    const std::uint32_t stored = vb::script::loadLe32(packed.data() + 6);
    const std::uint32_t want = checksum ? vb::script::jcChecksum(data.data(), data.size()) : 0;
    if (stored != want) return ::testing::AssertionFailure() << "checksum field " << stored;
    if ((packed.size() - vb::script::kJcStreamHeaderSize) % 4 != 0)
        return ::testing::AssertionFailure() << "bit stream is not whole words";
    Bytes out(data.size());
    const vb::script::JcUnpackResult r =
        vb::script::unpackJcStream(packed.data(), packed.size(), out.data(), out.size());
    if (!r.ok) return ::testing::AssertionFailure() << "rejected";
    if (r.size != data.size() || out != data) return ::testing::AssertionFailure() << "differs";
    return ::testing::AssertionSuccess();
}

Bytes randomBytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes v(n);
    for (auto& b : v) b = std::uint8_t(rng());
    return v;
}

// Words, numbers, punctuation and the odd binary stretch, like a mixed log.
Bytes mixedText(std::size_t n, std::uint32_t seed) {
    static const char* const kWords[] = {
        "velumbar", "progress", "gradient",           "colour", "the",   "function", "local", "return", "end",
        "if",       "then",     "SetCurrentPosition", "nil",    "table", "Argument"};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < n) {
        const unsigned pick = rng() % 100;
        if (pick < 70) {
            s += kWords[rng() % std::size(kWords)];
            s += ' ';
        } else if (pick < 85) {
            s += std::to_string(rng() % 100000);
            s += ", ";
        } else if (pick < 97) {
            s += ".\n";
        } else {
            for (int k = 0; k < 24; ++k) s += char(rng());
        }
    }
    s.resize(n);
    return Bytes(s.begin(), s.end());
}

TEST(JcRoundTrip, ClassScript) {
    const Bytes script = readFile(VELUMBAR_OOP_LUA);
    ASSERT_GT(script.size(), 1000u);
    std::size_t packed = 0;
    EXPECT_TRUE(roundTrips(script, true, &packed));
    EXPECT_LT(packed, script.size() / 2);
    EXPECT_TRUE(roundTrips(script, false));
}

TEST(JcRoundTrip, TextUsesSevenBitLiteralsWithABase) {
    // All of "abc...z" lies within 128 values: the stream opens with
    // 001 0000 0 0 and an 8-bit base at or below 'a' and above 'z' - 128.
    const std::string s = "the quick brown fox jumps over the lazy dog";
    const Bytes packed = vb::jc::packJcStream(Bytes(s.begin(), s.end()));
    const std::uint32_t first = vb::script::loadLe32(packed.data() + 10);
    EXPECT_EQ(first >> 23, 0b001000000u);
    const unsigned base = (first >> 15) & 0xFF;
    EXPECT_LE(base, unsigned(' '));
    EXPECT_GT(base + 128, unsigned('z'));
}

TEST(JcRoundTrip, GeneralDataUsesEightBitLiterals) {
    const Bytes data = {0x01, 0x80, 0xFF, 0x40};
    const Bytes packed = vb::jc::packJcStream(data);
    const std::uint32_t first = vb::script::loadLe32(packed.data() + 10);
    EXPECT_EQ(first >> 23, 0b001000001u);
    EXPECT_TRUE(roundTrips(data));
}

TEST(JcRoundTrip, Empty) {
    std::size_t packed = 0;
    EXPECT_TRUE(roundTrips({}, true, &packed));
    EXPECT_EQ(packed, vb::script::kJcStreamHeaderSize + 4);  // just the end code
    EXPECT_TRUE(roundTrips({}, false));
}

TEST(JcRoundTrip, OneToThreeBytes) {
    const std::uint8_t values[] = {0x00, 0x01, 0x41, 0x7F, 0x80, 0xFF};
    for (std::uint8_t a : values) {
        EXPECT_TRUE(roundTrips({a}));
        for (std::uint8_t b : values) {
            EXPECT_TRUE(roundTrips({a, b}));
            for (std::uint8_t c : values) EXPECT_TRUE(roundTrips({a, b, c}, (a ^ b ^ c) & 1));
        }
    }
}

TEST(JcRoundTrip, LongRunsOfOneByte) {
    for (std::uint8_t b : {0x00, 0x7A, 0xFF}) {
        std::size_t packed = 0;
        EXPECT_TRUE(roundTrips(Bytes(1 << 20, b), true, &packed));
        EXPECT_LT(packed, 40u) << int(b);
    }
    Bytes runs;  // runs of growing length, each of a new byte
    for (int k = 1; k < 300; ++k) runs.insert(runs.end(), std::size_t(k), std::uint8_t(k * 7));
    EXPECT_TRUE(roundTrips(runs));
}

TEST(JcRoundTrip, RandomBytesBarelyGrow) {
    for (std::size_t n : {std::size_t(255), std::size_t(256), std::size_t(257), std::size_t(100000)}) {
        const Bytes data = randomBytes(n, std::uint32_t(n));
        std::size_t packed = 0;
        EXPECT_TRUE(roundTrips(data, true, &packed));
        EXPECT_TRUE(roundTrips(data, false));
        // Raw blocks hold such data at 8 bits a byte and one bit a block.
        if (n >= 256) {
            EXPECT_LT(packed, n + n / 1000 + 32) << n;
        }
    }
}

TEST(JcRoundTrip, MegabyteOfMixedText) {
    const Bytes data = mixedText(1 << 20, 7);
    std::size_t packed = 0;
    EXPECT_TRUE(roundTrips(data, true, &packed));
    EXPECT_LT(packed, data.size() * 45 / 100);
    EXPECT_TRUE(roundTrips(data, false));
}

TEST(JcRoundTrip, FarRepeatsUseLongMatches) {
    // A 4 KB chunk, 80 KB of noise, the chunk again: only a match 84 KB back
    // (bonus 3) saves the second copy.
    const Bytes chunk = randomBytes(4096, 1);
    Bytes data = chunk;
    const Bytes noise = randomBytes(80 * 1024, 2);
    data.insert(data.end(), noise.begin(), noise.end());
    data.insert(data.end(), chunk.begin(), chunk.end());
    std::size_t packed = 0;
    EXPECT_TRUE(roundTrips(data, true, &packed));
    EXPECT_LT(packed, 4096 + 80 * 1024 + 200);
}

TEST(JcRoundTrip, LiteralWindowWrapsPastByte255) {
    // 0xC0..0xFF and 0x01..0x3F: 127 values, consecutive only modulo 256.
    Bytes data;
    std::mt19937 rng(3);
    for (int k = 0; k < 5000; ++k) data.push_back(std::uint8_t(0xC0 + rng() % 127));
    EXPECT_TRUE(roundTrips(data));
    const Bytes packed = vb::jc::packJcStream(data);
    EXPECT_EQ(vb::script::loadLe32(packed.data() + 10) >> 23, 0b001000000u);
}

TEST(JcRoundTrip, ShortPeriodsAndNearCopies) {
    Bytes data;
    for (int k = 0; k < 20000; ++k) data.push_back(std::uint8_t("abcab\0xyzzy"[k % 11]));
    for (int k = 0; k < 20000; ++k) data.push_back(std::uint8_t((k * k) % 13));
    EXPECT_TRUE(roundTrips(data));
}

TEST(JcBlock, HeaderNamesBothSizes) {
    const Bytes data = mixedText(5000, 9);
    const Bytes block = vb::jc::packJcBlock(data);
    vb::script::JcBlock b;
    ASSERT_TRUE(vb::script::readJcBlock(block.data(), block.size(), &b));
    EXPECT_EQ(b.packedSize, block.size() - 8);
    EXPECT_EQ(b.unpackedSize, data.size());
    Bytes out(b.unpackedSize);
    EXPECT_EQ(vb::script::unpackJc(b.stream, b.packedSize, out.data(), out.size()), data.size());
    EXPECT_EQ(out, data);
    EXPECT_FALSE(vb::script::readJcBlock(block.data(), block.size() - 1, &b));
    EXPECT_FALSE(vb::script::readJcBlock(block.data(), 7, &b));
}

TEST(JcEmbed, WritesArrayAndSizeInTheNamespace) {
    const std::string src = vb::jc::embedSource(Bytes{1, 2, 255}, "a::b::kBlob", "x/y.h");
    EXPECT_NE(src.find("#include \"x/y.h\""), std::string::npos);
    EXPECT_NE(src.find("namespace a::b {"), std::string::npos);
    EXPECT_NE(src.find("const std::uint8_t kBlob[] = {\n    1, 2, 255,\n};"), std::string::npos);
    EXPECT_NE(src.find("const std::size_t kBlobSize = 3;"), std::string::npos);
    const std::string empty = vb::jc::embedSource(Bytes{}, "kNone", "");
    EXPECT_NE(empty.find("const std::size_t kNoneSize = 0;"), std::string::npos);
    EXPECT_EQ(empty.find("namespace"), std::string::npos);
}

}  // namespace
