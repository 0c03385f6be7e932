#include "tools/jc/match_finder.h"

namespace vb::jc {

MatchFinder::MatchFinder(std::span<const std::uint8_t> data)
    : data_(data),
      head_(std::size_t(1) << kHashBits, kNone),
      prev_(data.size(), kNone),
      pairs_(std::size_t(1) << 16, kNone) {}

std::uint32_t MatchFinder::hash3(std::size_t pos) const {
    const std::uint32_t v =
        std::uint32_t(data_[pos]) << 16 | std::uint32_t(data_[pos + 1]) << 8 | data_[pos + 2];
    return (v * 2654435761u) >> (32 - kHashBits);
}

void MatchFinder::insertUpTo(std::size_t pos) {
    for (; inserted_ < pos && inserted_ < data_.size(); ++inserted_) {
        const std::size_t p = inserted_;
        const std::size_t left = data_.size() - p;
        if (left >= 2) pairs_[std::size_t(data_[p]) << 8 | data_[p + 1]] = std::uint32_t(p);
        if (left >= 3) {
            const std::uint32_t h = hash3(p);
            prev_[p] = head_[h];
            head_[h] = std::uint32_t(p);
        }
    }
}

std::size_t MatchFinder::matchLength(std::size_t from, std::size_t pos, std::size_t limit) const {
    const std::uint8_t* a = data_.data() + from;
    const std::uint8_t* b = data_.data() + pos;
    if (limit > data_.size() - pos) limit = data_.size() - pos;
    std::size_t n = 0;
    while (n < limit && a[n] == b[n]) ++n;
    return n;
}

std::uint32_t MatchFinder::latestPair(std::size_t pos) const {
    if (data_.size() - pos < 2) return kNone;
    return pairs_[std::size_t(data_[pos]) << 8 | data_[pos + 1]];
}

}  // namespace vb::jc
