// Frames compared block by block. Pairs with frame_compare.h.
#include "tools/render/frame_compare.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr std::int32_t kBlock = 4;
constexpr std::int32_t kLevels = 24;
}  // namespace

BlockComparison compareBlocks(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b,
                              std::int32_t width, std::int32_t height,
                              bool (*keep)(std::int32_t, std::int32_t, const void*), const void* keepContext) {
    BlockComparison result;
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    if (width <= 0 || height <= 0 || a.size() < bytes || b.size() < bytes) return result;
    for (std::int32_t top = 0; top < height; top += kBlock) {
        for (std::int32_t left = 0; left < width; left += kBlock) {
            if (keep && !keep(left / kBlock, top / kBlock, keepContext)) continue;
            const std::int32_t right = std::min(width, left + kBlock), bottom = std::min(height, top + kBlock);
            std::int32_t sum[3] = {0, 0, 0};
            for (std::int32_t row = top; row < bottom; ++row) {
                for (std::int32_t col = left; col < right; ++col) {
                    const std::size_t k = (static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + col) * 4;
                    for (int c = 0; c < 3; ++c) sum[c] += a[k + c] - b[k + c];
                }
            }
            const std::int32_t pixels = (right - left) * (bottom - top);
            bool differs = false;
            for (int c = 0; c < 3; ++c) differs = differs || std::abs(sum[c]) > kLevels * pixels;
            ++result.blocks;
            if (differs) ++result.differing;
        }
    }
    return result;
}
