// Parsing of morvane-render's options, strict: every number whole and in range, every option known.
// Pairs with render_options.h.
#include "tools/render/render_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* const kRenderUsage =
    "usage: morvane-render [--size WxH] [--seed N] [--fps F] [--seconds S | --frames N] [--every K]\n"
    "                      [--mirrors on|off] [--drawing auto|clip|copy] [--out DIR] [--draw-every K]\n"
    "                      [--check] [--compare]\n"
    "  --size WxH        frame size in pixels (default 1280x720)\n"
    "  --seed N          seed of the generator, 0..255 (default: the calendar time, as the saver)\n"
    "  --fps F           frames per second of the virtual clock (default 30)\n"
    "  --seconds S       render S seconds of animation (default 10)\n"
    "  --frames N        render N frames\n"
    "  --every K         write every K-th frame (default 1)\n"
    "  --mirrors on|off  draw through the kaleidoscope (default on)\n"
    "  --drawing auto|clip|copy\n"
    "                    the wedges: each a drawing of the field under clip planes, or copies of\n"
    "                    one drawing; auto (default) copies on a software renderer, as the saver\n"
    "  --out DIR         write frame-NNNNNN.png files there; without it nothing is written\n"
    "  --draw-every K    draw every K-th frame; the others only move the scene on (default 1)\n"
    "  --check           check every sprite, drift and transition value after each frame; stop\n"
    "                    at the first one out of its range, with exit code 1\n"
    "  --compare         draw each drawn frame from copies and through clip planes and compare them\n"
    "                    in blocks of 4x4 pixels; exit code 1 where more than 0.5 % of a frame's\n"
    "                    blocks differ by more than 24 levels (--out writes the copies' frames)\n";

namespace {

constexpr std::int64_t kMaxFrames = 100000000;
constexpr std::int32_t kMaxSide = 16384;

bool parseWhole(const char* text, std::int64_t low, std::int64_t high, std::int64_t& value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

bool parseReal(const char* text, double low, double high, double& value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(parsed) || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

bool parseSize(const char* text, std::int32_t& width, std::int32_t& height) {
    const char* x = std::strchr(text, 'x');
    if (!x) return false;
    const std::string w(text, x);
    std::int64_t parsedWidth = 0, parsedHeight = 0;
    if (!parseWhole(w.c_str(), 1, kMaxSide, parsedWidth) || !parseWhole(x + 1, 1, kMaxSide, parsedHeight))
        return false;
    width = static_cast<std::int32_t>(parsedWidth);
    height = static_cast<std::int32_t>(parsedHeight);
    return true;
}

}  // namespace

bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error) {
    double seconds = -1.0;
    std::int64_t frames = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--check" || option == "--compare") {
            (option == "--check" ? options.check : options.compare) = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = option.rfind("--", 0) == 0 ? option + " needs a value" : "unknown option " + option;
            return false;
        }
        const char* value = argv[++i];
        bool good = true;
        std::int64_t whole = 0;
        if (option == "--size") {
            good = parseSize(value, options.width, options.height);
            if (!good) error = "--size wants WxH, each 1 to 16384, not '" + std::string(value) + "'";
        } else if (option == "--seed") {
            good = parseWhole(value, 0, 255, whole);
            options.seed = static_cast<std::int32_t>(whole);
            if (!good) error = "--seed wants a whole number 0 to 255, not '" + std::string(value) + "'";
        } else if (option == "--fps") {
            good = parseReal(value, 0.001, 100000.0, options.fps);
            if (!good) error = "--fps wants a number above 0 and at most 100000, not '" + std::string(value) + "'";
        } else if (option == "--seconds") {
            good = parseReal(value, 0.0, 1.0e7, seconds);
            if (!good) error = "--seconds wants a number 0 to 10000000, not '" + std::string(value) + "'";
        } else if (option == "--frames") {
            good = parseWhole(value, 1, kMaxFrames, frames);
            if (!good) error = "--frames wants a whole number 1 to 100000000, not '" + std::string(value) + "'";
        } else if (option == "--every") {
            good = parseWhole(value, 1, kMaxFrames, options.every);
            if (!good) error = "--every wants a whole number of at least 1, not '" + std::string(value) + "'";
        } else if (option == "--draw-every") {
            good = parseWhole(value, 1, kMaxFrames, options.drawEvery);
            if (!good) error = "--draw-every wants a whole number of at least 1, not '" + std::string(value) + "'";
        } else if (option == "--mirrors") {
            const std::string mode = value;
            good = mode == "on" || mode == "off";
            options.mirrors = mode != "off";
            if (!good) error = "--mirrors wants on or off, not '" + mode + "'";
        } else if (option == "--drawing") {
            options.drawing = value;
            good = options.drawing == "auto" || options.drawing == "clip" || options.drawing == "copy";
            if (!good) error = "--drawing wants auto, clip or copy, not '" + options.drawing + "'";
        } else if (option == "--out") {
            options.outDir = value;
            good = !options.outDir.empty();
            if (!good) error = "--out wants a folder";
        } else {
            error = "unknown option " + option;
            return false;
        }
        if (!good) return false;
    }
    if (seconds >= 0.0 && frames >= 0) {
        error = "give --seconds or --frames, not both";
        return false;
    }
    if (!options.outDir.empty() && options.drawEvery != 1 && options.every % options.drawEvery != 0) {
        error = "--every must be a multiple of --draw-every: only drawn frames can be written";
        return false;
    }
    if (frames >= 0) {
        options.frames = frames;
    } else {
        // At least one frame; a frame at time 0 is always drawn.
        const double count = std::floor((seconds >= 0.0 ? seconds : 10.0) * options.fps);
        if (count > static_cast<double>(kMaxFrames)) {
            error = "--seconds times --fps gives more than 100000000 frames";
            return false;
        }
        options.frames = count < 1.0 ? 1 : static_cast<std::int64_t>(count);
    }
    return true;
}
