// Two frames compared at the scale a person sees them: each averaged over blocks of 4 x 4 pixels, a
// block counted as different where a colour channel of the two averages differs by more than 24
// levels. The drawing from copies is held to the clip-plane drawing this way. Pairs with
// frame_compare.cpp; used by morvane-render --compare and the GL tests.
#pragma once

#include <cstdint>
#include <vector>

struct BlockComparison {
    std::int64_t blocks = 0;
    std::int64_t differing = 0;
    double share() const { return blocks > 0 ? static_cast<double>(differing) / static_cast<double>(blocks) : 0.0; }
};

// The largest share of differing blocks any frame may have.
constexpr double kMostDifferingBlocks = 0.005;

// RGBA frames of `width` x `height`, rows in the same order. Blocks at the right and bottom edges
// may be smaller and are averaged over the pixels they have. `keep(blockColumn, blockRow)` chooses
// the blocks compared; without it every block is.
BlockComparison compareBlocks(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b,
                              std::int32_t width, std::int32_t height,
                              bool (*keep)(std::int32_t, std::int32_t, const void*) = nullptr,
                              const void* keepContext = nullptr);
