// The command line of morvane-render, parsed as a pure function of its arguments. Pairs with
// render_options.cpp.
#pragma once

#include <cstdint>
#include <string>

struct RenderOptions {
    std::int32_t width = 1280;
    std::int32_t height = 720;
    std::int32_t seed = -1;  // 0..255, or -1: the calendar time, as the saver does
    double fps = 30.0;  // frames per second of the virtual clock
    std::int64_t frames = 300;  // from --frames, or --seconds times fps
    std::int64_t every = 1;  // write every K-th frame
    bool mirrors = true;
    // How the wedges are drawn: "auto" as the saver chooses for the renderer, "clip" or "copy".
    std::string drawing = "auto";
    std::int64_t drawEvery = 1;  // draw every K-th frame; the others only advance the scene
    bool check = false;  // check the scene's state after every frame's advance
    bool compare = false;  // draw every drawn frame from copies and through clip planes, and compare
    std::string outDir;  // empty: render without writing
    bool help = false;
};

// Fills `options` from argv[1..]. On a bad option returns false and `error` says which and why.
bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error);

extern const char* const kRenderUsage;
