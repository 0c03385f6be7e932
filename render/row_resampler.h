// Area-average resampling fed one source row at a time, top to bottom, so a
// picture far too large to hold can still be reduced: only the result's
// sums are kept. The result is the picture Resize makes of the whole source.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "pixels/picture.h"

namespace vb::render {

// The largest result a row resampler accumulates (its sums take 32 bytes a
// pixel).
constexpr long long kMaxResampledPixels = 256 * 256;

class RowResampler {
public:
    RowResampler(int srcWidth, int srcHeight, int dstWidth, int dstHeight, bool hasAlpha);
    ~RowResampler();
    RowResampler(const RowResampler&) = delete;
    RowResampler& operator=(const RowResampler&) = delete;

    // False when a size is out of range. Out of memory throws std::bad_alloc
    // from the constructor.
    bool ok() const { return state_ != nullptr; }
    // Row y of the source (srcWidth packed colours); rows come in ascending order.
    void addRow(int y, const std::uint32_t* pixels) noexcept;
    // The reduced picture; none when the resampler is not ok.
    std::optional<pixels::Picture> finish();

private:
    struct State;
    int srcWidth_, srcHeight_, dstWidth_, dstHeight_;
    bool hasAlpha_;
    std::unique_ptr<State> state_;
};

}  // namespace vb::render
