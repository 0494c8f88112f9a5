// Monitor rectangles turned into the window's GL viewports. Pairs with viewports.h.
#include "scene/viewports.h"

#include <algorithm>

std::vector<SceneViewport> monitorViewports(const platform::Rect& window, const platform::Rect* monitors,
                                            std::int32_t count) {
    // 64-bit: the differences of two 32-bit coordinates need not fit in 32 bits.
    const std::int64_t windowHeight = static_cast<std::int64_t>(window.bottom) - window.top;
    std::vector<SceneViewport> viewports;
    for (std::int32_t i = 0; monitors && i < count; ++i) {
        const platform::Rect& m = monitors[i];
        const std::int64_t left = std::max(m.left, window.left), right = std::min(m.right, window.right);
        const std::int64_t top = std::max(m.top, window.top), bottom = std::min(m.bottom, window.bottom);
        if (right <= left || bottom <= top) continue;
        // GL counts rows from the bottom of the window.
        viewports.push_back(SceneViewport{static_cast<std::int32_t>(left - window.left),
                                          static_cast<std::int32_t>(windowHeight - (bottom - window.top)),
                                          static_cast<std::int32_t>(right - left),
                                          static_cast<std::int32_t>(bottom - top)});
    }
    if (viewports.empty() && window.right > window.left && window.bottom > window.top)
        viewports.push_back(SceneViewport{0, 0, static_cast<std::int32_t>(static_cast<std::int64_t>(window.right) -
                                                                          window.left),
                                          static_cast<std::int32_t>(windowHeight)});
    return viewports;
}
