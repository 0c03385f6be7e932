#include "tools/jc/parse.h"

#include "script/jc_format.h"
#include "tools/jc/costs.h"
#include "tools/jc/match_finder.h"

namespace vb::jc {

namespace {

using vb::script::kJcNearMaxOffset;
using vb::script::kJcRawBlockSize;
using vb::script::kJcShortMaxLength;
using vb::script::kJcShortMaxOffset;

// A match this long is taken at once: waiting a byte cannot gain enough.
constexpr std::size_t kNiceLength = 512;

struct Choice {
    Token token;
    std::int64_t savings;  // bits saved against coding every byte as a literal
};

class Parser {
public:
    Parser(std::span<const std::uint8_t> data, const ParseSettings& s)
        : data_(data), settings_(s), finder_(data) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        std::size_t pos = 0;
        std::size_t nextRaw = 0;
        bool haveNext = false;
        Choice next{};
        while (pos < data_.size()) {
            const bool rawAhead = nextRaw < settings_.raw.size();
            if (rawAhead && settings_.raw[nextRaw].start == pos) {
                const RawSpan& span = settings_.raw[nextRaw++];
                tokens.push_back({TokenKind::raw, std::uint32_t(span.end - span.start), 0});
                pos = span.end;
                haveNext = false;
                continue;
            }
            // Matches stop where a raw span starts.
            limit_ = rawAhead ? settings_.raw[nextRaw].start : data_.size();
            Choice here = haveNext ? next : best(pos);
            haveNext = false;
            if (here.token.length >= 2 && here.token.length < kNiceLength && pos + 1 < limit_) {
                // Lazy step: a single byte here may buy a better match next.
                const Choice single = singleByte(pos);
                next = best(pos + 1);
                if (next.savings + single.savings > here.savings) {
                    here = single;
                    haveNext = true;
                }
            }
            tokens.push_back(here.token);
            if (here.token.kind == TokenKind::shortMatch || here.token.kind == TokenKind::longMatch)
                lastOffset_ = here.token.offset;
            pos += here.token.length;
        }
        return tokens;
    }

private:
    std::int64_t savingsOf(std::size_t length, unsigned bits) const {
        return std::int64_t(length) * settings_.literalBits - std::int64_t(bits);
    }

    Choice singleByte(std::size_t pos) const {
        const std::uint8_t b = data_[pos];
        if (b == 0) return {{TokenKind::zero, 1, 0}, savingsOf(1, kNearBits)};
        for (std::size_t d = 1; d <= kJcNearMaxOffset && d <= pos; ++d) {
            if (data_[pos - d] == b) return {{TokenKind::near, 1, std::uint32_t(d)}, savingsOf(1, kNearBits)};
        }
        return {{TokenKind::literal, 1, 0}, 0};
    }

    static void consider(Choice& c, TokenKind kind, std::size_t length, std::size_t offset,
                         std::int64_t savings) {
        if (savings > c.savings || (savings == c.savings && length > c.token.length))
            c = {{kind, std::uint32_t(length), std::uint32_t(offset)}, savings};
    }

    void considerOffset(Choice& c, std::size_t offset, std::size_t length) const {
        if (offset == lastOffset_) return;  // the repeat code covers it more cheaply
        if (offset <= kJcShortMaxOffset && length >= 2) {
            const std::size_t n = length < kJcShortMaxLength ? length : kJcShortMaxLength;
            consider(c, TokenKind::shortMatch, n, offset, savingsOf(n, kShortMatchBits));
        }
        if (longMatchFits(offset, length)) {
            consider(c, TokenKind::longMatch, length, offset,
                     savingsOf(length, longMatchBits(offset, length, settings_.indexWidth)));
        }
    }

    Choice best(std::size_t pos) {
        finder_.insertUpTo(pos);
        const std::size_t room = limit_ - pos;
        Choice c = singleByte(pos);
        if (lastOffset_ <= pos) {
            const std::size_t n = finder_.matchLength(pos - lastOffset_, pos, room);
            if (n >= 2) consider(c, TokenKind::repeat, n, lastOffset_, savingsOf(n, repeatMatchBits(n)));
        }
        const std::uint32_t pair = finder_.latestPair(pos);
        if (pair != MatchFinder::kNone) considerOffset(c, pos - pair, finder_.matchLength(pair, pos, room));
        finder_.forEachMatch(pos, room, [&](std::size_t offset, std::size_t length) {
            considerOffset(c, offset, length);
            return length >= kNiceLength;
        });
        return c;
    }

    std::span<const std::uint8_t> data_;
    ParseSettings settings_;
    MatchFinder finder_;
    std::size_t lastOffset_ = 1;
    std::size_t limit_ = 0;
};

}  // namespace

std::vector<Token> parseTokens(std::span<const std::uint8_t> data, const ParseSettings& settings) {
    return Parser(data, settings).run();
}

unsigned tokenBits(const Token& t, const ParseSettings& s) {
    switch (t.kind) {
        case TokenKind::literal:
            return s.literalBits;
        case TokenKind::zero:
        case TokenKind::near:
            return kNearBits;
        case TokenKind::shortMatch:
            return kShortMatchBits;
        case TokenKind::longMatch:
            return longMatchBits(t.offset, t.length, s.indexWidth);
        case TokenKind::repeat:
            return repeatMatchBits(t.length);
        case TokenKind::raw:
            return kRawHeaderBits + t.length / kJcRawBlockSize * kRawBlockBits;
    }
    return 0;
}

std::vector<RawSpan> chooseRawSpans(const std::vector<Token>& tokens, const ParseSettings& settings) {
    // Each token's bits spread over its bytes, in 1/256 bit, summed.
    std::vector<std::uint64_t> prefix(1, 0);
    for (const Token& t : tokens) {
        const std::uint64_t bits = std::uint64_t(tokenBits(t, settings)) << 8;
        const std::uint64_t each = bits / t.length;
        std::uint64_t rest = bits - each * t.length;
        for (std::uint32_t k = 0; k < t.length; ++k) {
            prefix.push_back(prefix.back() + each + rest);
            rest = 0;
        }
    }
    const std::size_t size = prefix.size() - 1;
    std::vector<RawSpan> spans;
    std::size_t p = 0;
    while (size - p >= kJcRawBlockSize) {
        const bool joins = !spans.empty() && spans.back().end == p;
        const std::uint64_t raw = std::uint64_t(kRawBlockBits + (joins ? 0 : kRawHeaderBits)) << 8;
        if (prefix[p + kJcRawBlockSize] - prefix[p] > raw) {
            if (joins)
                spans.back().end += kJcRawBlockSize;
            else
                spans.push_back({p, p + kJcRawBlockSize});
            p += kJcRawBlockSize;
        } else {
            ++p;
        }
    }
    return spans;
}

}  // namespace vb::jc
