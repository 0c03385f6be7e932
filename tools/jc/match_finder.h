// Finds earlier occurrences of the bytes at a position: hash chains over
// three-byte prefixes, plus the latest occurrence of each two-byte pair.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vb::jc {

class MatchFinder {
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    explicit MatchFinder(std::span<const std::uint8_t> data);

    // Makes every position below pos findable.
    void insertUpTo(std::size_t pos);

    // Length of the common run of bytes at from and at pos (from < pos),
    // at most limit.
    std::size_t matchLength(std::size_t from, std::size_t pos, std::size_t limit) const;

    // The latest earlier position whose two bytes equal those at pos, or kNone.
    std::uint32_t latestPair(std::size_t pos) const;

    // Calls visit(offset, length) for earlier positions sharing at least three
    // bytes with pos (lengths at most limit), nearest first, until visit
    // answers true or the chain depth runs out.
    template <class Visit>
    void forEachMatch(std::size_t pos, std::size_t limit, Visit&& visit) const {
        if (data_.size() - pos < 3 || limit < 3) return;
        std::uint32_t cand = head_[hash3(pos)];
        for (unsigned depth = 0; cand != kNone && depth < kMaxDepth; ++depth) {
            const std::size_t length = matchLength(cand, pos, limit);
            if (length >= 3 && visit(pos - cand, length)) return;
            cand = prev_[cand];
        }
    }

private:
    static constexpr unsigned kHashBits = 16;
    static constexpr unsigned kMaxDepth = 64;

    std::uint32_t hash3(std::size_t pos) const;

    std::span<const std::uint8_t> data_;
    std::vector<std::uint32_t> head_;
    std::vector<std::uint32_t> prev_;
    std::vector<std::uint32_t> pairs_;
    std::size_t inserted_ = 0;
};

}  // namespace vb::jc
