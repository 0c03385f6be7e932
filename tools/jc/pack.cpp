#include "tools/jc/pack.h"

#include <algorithm>
#include <stdexcept>

#include "script/jc_checksum.h"
#include "script/jc_format.h"
#include "tools/jc/bit_writer.h"
#include "tools/jc/costs.h"
#include "tools/jc/parse.h"

namespace vb::jc {

namespace {

using namespace vb::script;

struct LiteralCoding {
    unsigned width = 8;
    std::uint8_t base = 0;
};

// Width 7 saves a bit per literal when every byte a literal may have to
// carry (all but 0, which has its own code) fits in 128 consecutive values.
LiteralCoding chooseLiterals(std::span<const std::uint8_t> data) {
    bool present[256] = {};
    for (std::uint8_t b : data) present[b] = true;
    for (unsigned base = 0; base < 256; ++base) {
        bool fits = true;
        for (unsigned v = 1; v < 256 && fits; ++v) fits = !present[v] || std::uint8_t(v - base) < 128;
        if (fits) return {7, std::uint8_t(base)};
    }
    return {};
}

// The width that makes the long matches' offsets cheapest.
unsigned chooseIndexWidth(const std::vector<Token>& tokens) {
    unsigned bestWidth = kJcDefaultIndexWidth;
    std::uint64_t bestBits = ~std::uint64_t(0);
    for (unsigned w = 0; w <= 24; ++w) {
        std::uint64_t bits = w == kJcDefaultIndexWidth ? 0 : 3 + 7 + 2 + 6;
        for (const Token& t : tokens) {
            if (t.kind == TokenKind::longMatch) bits += gammaBits((t.offset >> w) + 3) + w;
        }
        if (bits < bestBits) {
            bestBits = bits;
            bestWidth = w;
        }
    }
    return bestWidth;
}

class Emitter {
public:
    Emitter(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out, const LiteralCoding& lit,
            unsigned indexWidth)
        : data_(data), bits_(out), lit_(lit), indexWidth_(indexWidth) {}

    void run(const std::vector<Token>& tokens) {
        bool anyLiteral = false;
        for (const Token& t : tokens) anyLiteral = anyLiteral || t.kind == TokenKind::literal;
        if (anyLiteral) literalSetting();
        if (indexWidth_ != kJcDefaultIndexWidth) indexWidthSetting();

        for (const Token& t : tokens) token(t);
        bits_.put(0, 12);  // 000, offset 0, length 2: the end
        bits_.finish();
    }

private:
    void literalSetting() {
        bits_.put(0b00100000, 8);
        bits_.put(lit_.width - 7, 1);
        if (lit_.width == 7) bits_.put(lit_.base, 8);
    }

    void indexWidthSetting() {
        // Length field 1..3 picks a 4, 5 or 6-bit width.
        const unsigned field = indexWidth_ < 16 ? 1 : indexWidth_ < 32 ? 2 : 3;
        bits_.put(0, 3 + 7);
        bits_.put(field, 2);
        bits_.put(indexWidth_, field + 3);
    }

    void token(const Token& t) {
        switch (t.kind) {
            case TokenKind::literal:
                bits_.put(1, 1);
                bits_.put(std::uint8_t(data_[pos_] - lit_.base), lit_.width);
                break;
            case TokenKind::zero:
                bits_.put(0b0010001, 7);
                break;
            case TokenKind::near:
                bits_.put(0b001, 3);
                bits_.put(t.offset + 1, 4);
                break;
            case TokenKind::shortMatch:
                bits_.put(0b000, 3);
                bits_.put(t.offset, 7);
                bits_.put(t.length - 2, 2);
                break;
            case TokenKind::longMatch:
                bits_.put(0b01, 2);
                bits_.gamma((std::uint64_t(t.offset) >> indexWidth_) + 3);
                bits_.put(t.offset & ((std::uint64_t(1) << indexWidth_) - 1), indexWidth_);
                bits_.gamma(t.length - jcLengthBonus(t.offset));
                break;
            case TokenKind::repeat:
                bits_.put(0b01, 2);
                bits_.gamma(2);
                bits_.gamma(t.length);
                break;
            case TokenKind::raw:
                bits_.put(0b00100001, 8);
                for (std::size_t k = 0; k < t.length; ++k) {
                    bits_.put(data_[pos_ + k], 8);
                    // After each block: 1 when another follows.
                    if ((k + 1) % kJcRawBlockSize == 0) bits_.put(k + 1 < t.length ? 1 : 0, 1);
                }
                break;
        }
        pos_ += t.length;
    }

    std::span<const std::uint8_t> data_;
    BitWriter bits_;
    LiteralCoding lit_;
    unsigned indexWidth_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::uint8_t> packJcStream(std::span<const std::uint8_t> data, const PackOptions& options) {
    if (data.size() > 0xFFFFFFFFu) throw std::length_error("JC streams hold less than 4 GiB");
    const LiteralCoding lit = chooseLiterals(data);
    ParseSettings settings{1 + lit.width, kJcDefaultIndexWidth, {}};
    std::vector<Token> tokens = parseTokens(data, settings);
    const unsigned width = chooseIndexWidth(tokens);
    if (width != settings.indexWidth) {
        settings.indexWidth = width;
        tokens = parseTokens(data, settings);
    }
    const std::vector<RawSpan> raw = chooseRawSpans(tokens, settings);
    if (!raw.empty()) {
        settings.raw = raw;
        tokens = parseTokens(data, settings);
    }

    std::vector<std::uint8_t> out(kJcStreamHeaderSize);
    out[0] = kJcSignature[0];
    out[1] = kJcSignature[1];
    storeLe32(out.data() + 2, std::uint32_t(data.size()));
    storeLe32(out.data() + 6, options.checksum ? jcChecksum(data.data(), data.size()) : 0);
    Emitter(data, out, lit, settings.indexWidth).run(tokens);
    return out;
}

std::vector<std::uint8_t> packJcBlock(std::span<const std::uint8_t> data, const PackOptions& options) {
    const std::vector<std::uint8_t> stream = packJcStream(data, options);
    if (stream.size() > 0xFFFFFFFFu) throw std::length_error("packed stream too large");
    std::vector<std::uint8_t> block(kJcBlockHeaderSize + stream.size());
    storeLe32(block.data(), std::uint32_t(stream.size()));
    storeLe32(block.data() + 4, std::uint32_t(data.size()));
    std::copy(stream.begin(), stream.end(), block.begin() + kJcBlockHeaderSize);
    return block;
}

}  // namespace vb::jc
