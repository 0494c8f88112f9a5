// The picture on every monitor: where each monitor lies in the saver window's OpenGL viewport
// coordinates. Pairs with viewports.cpp; Scene::renderViewports draws into the result.
#pragma once

#include <cstdint>
#include <vector>

#include "host/platform.h"

// One viewport in the window's GL coordinates: pixels from its bottom-left corner.
struct SceneViewport {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

// `window` and `monitors` in screen coordinates (top-left origin, y down; origins may be negative, as
// on a virtual screen that extends left of or above the primary monitor). Each monitor is cut to the
// window; a monitor outside it gives nothing. No monitors at all gives the whole window.
std::vector<SceneViewport> monitorViewports(const platform::Rect& window, const platform::Rect* monitors,
                                            std::int32_t count);
