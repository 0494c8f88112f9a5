// morvane-render: the saver's Scene rendered into an offscreen OpenGL context on a virtual clock, its
// frames optionally written as PNG files. Only the clock and the context differ from the saver.
// Pairs with render_options.h, png_writer.h and host/platform/headless.cpp.
#include <GL/gl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "host/platform/offscreen_gl.h"
#include "host/saver.h"
#include "scene/scene.h"
#include "scene/scene_seed.h"
#include "host/platform/headless.h"
#include "tools/render/frame_compare.h"
#include "tools/render/png_writer.h"
#include "tools/render/render_options.h"
#include "tools/render/state_check.h"

namespace {

// Makes `path` and any missing folders above it, as mkdir -p does.
bool makeFolder(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string parent = path.substr(0, slash);
        if (mkdir(parent.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return false;
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

// Frame n is drawn at n / fps seconds of scene time.
std::int64_t countsAtFrame(std::int64_t frame, double fps) {
    return std::llround(static_cast<double>(frame) * static_cast<double>(headless::kCounterFrequency) / fps);
}

// Resident memory of this process in KiB, from /proc; 0 where it cannot be read.
long residentKiB() {
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    long size = 0, resident = 0;
    const int read = std::fscanf(statm, "%ld %ld", &size, &resident);
    std::fclose(statm);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// The frame drawn both ways from the same state, compared; the copies' frame is left in the buffer.
BlockComparison drawnBothWays(Scene& scene, OffscreenGl& gl, std::int32_t flags) {
    const MirrorConfig& config = scene.beginFrame(flags);
    scene.mirrorDrawing = MirrorDrawing::ClipPlanes;
    scene.drawFrame(config, nullptr, 0);
    const std::vector<std::uint8_t> clipped = gl.readPixels();
    scene.mirrorDrawing = MirrorDrawing::Copies;
    scene.drawFrame(config, nullptr, 0);
    return compareBlocks(clipped, gl.readPixels(), gl.width(), gl.height());
}

// Bytes of the C heap in use, in KiB: unlike the resident size, not inflated by freed memory the
// allocator keeps or by the driver's mappings.
long heapInUseKiB() { return static_cast<long>(mallinfo2().uordblks / 1024); }

}  // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "morvane-render: %s\n%s", error.c_str(), kRenderUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kRenderUsage, stdout);
        return 0;
    }
    if (!options.outDir.empty() && !makeFolder(options.outDir)) {
        std::fprintf(stderr, "morvane-render: cannot make the folder %s: %s\n", options.outDir.c_str(),
                     std::strerror(errno));
        return 1;
    }

    OffscreenGl gl;
    if (!gl.create(options.width, options.height)) {
        std::fprintf(stderr, "morvane-render: no offscreen OpenGL context: %s\n", gl.error().c_str());
        return 1;
    }
    setFixedSceneSeed(options.seed);
    headless::setPerformanceCounter(0);
    Scene* scene = new Scene(options.width, options.height);
    if (options.drawing == "clip") scene->mirrorDrawing = MirrorDrawing::ClipPlanes;
    if (options.drawing == "copy") scene->mirrorDrawing = MirrorDrawing::Copies;
    const std::int32_t flags = options.mirrors ? kMirrorFlag : 0;

    // The statistics keep at most a million samples: the first million drawn frames.
    std::vector<double> renderMs;
    renderMs.reserve(static_cast<std::size_t>(std::min<std::int64_t>(options.frames, 1000000)));
    SceneCheck checker(1.0 / options.fps);
    std::int64_t rendered = 0;
    // The heap in use is sampled after every drawn frame and its highest value kept for each half
    // of the run: the driver's caches come and go, so single readings differ by megabytes, while
    // the peaks of the two halves stay level unless memory is lost frame after frame.
    long residentAfterFirst = 0, residentAtHalf = 0, heapPeak[2] = {0, 0};
    int status = 0;
    BlockComparison worstComparison;
    std::int64_t worstFrame = -1;
    for (std::int64_t frame = 0; frame < options.frames; ++frame) {
        headless::setPerformanceCounter(countsAtFrame(frame, options.fps));
        if (frame % options.drawEvery != 0) {
            // The frame's logic without its picture: clock, sprites and drift, the layout's choice.
            scene->advance();
            scene->configToDraw();
        } else {
            const auto start = std::chrono::steady_clock::now();
            if (options.compare) {
                const BlockComparison c = drawnBothWays(*scene, gl, flags);
                if (worstFrame < 0 || c.share() > worstComparison.share()) {
                    worstComparison = c;
                    worstFrame = frame;
                }
            } else {
                scene->render(flags);
            }
            glFinish();
            ++rendered;
            const auto end = std::chrono::steady_clock::now();
            if (renderMs.size() < renderMs.capacity())
                renderMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        if (options.check && !checker.check(*scene, error)) {
            std::fprintf(stderr, "morvane-render: %s\n", error.c_str());
            status = 1;
            break;
        }
        if (options.check && frame % options.drawEvery == 0) {
            long& peak = heapPeak[frame < options.frames / 2 ? 0 : 1];
            peak = std::max(peak, heapInUseKiB());
        }
        if (frame == 0) residentAfterFirst = residentKiB();
        if (frame == options.frames / 2) residentAtHalf = residentKiB();

        if (!options.outDir.empty() && frame % options.every == 0) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(frame));
            if (!writePng(options.outDir + name, gl.readPixels(), gl.width(), gl.height(), error)) {
                std::fprintf(stderr, "morvane-render: %s\n", error.c_str());
                status = 1;
                break;
            }
        }
        if (frame % options.drawEvery == 0) gl.swap();
    }
    const long residentAtEnd = residentKiB();
    const float sceneTimeEnd = scene->time;
    delete scene;

    std::sort(renderMs.begin(), renderMs.end());
    const double median = renderMs.empty() ? 0.0 : renderMs[renderMs.size() / 2];
    const double worst = renderMs.empty() ? 0.0 : renderMs.back();
    std::printf("frames: %lld\nrender time per frame: median %.2f ms, worst %.2f ms\n", static_cast<long long>(rendered),
                median, worst);
    if (options.check) {
        std::printf("checked: %lld frames, %.1f s of scene time; %lld respawns; transitions: %lld started, %lld ended\n",
                    static_cast<long long>(checker.frames), static_cast<double>(sceneTimeEnd),
                    static_cast<long long>(checker.respawns), static_cast<long long>(checker.transitionsStarted),
                    static_cast<long long>(checker.transitionsEnded));
        std::printf("resident memory: %ld KiB after the first frame, %ld KiB at the half, %ld KiB at the end\n",
                    residentAfterFirst, residentAtHalf, residentAtEnd);
        std::printf("heap in use, highest: %ld KiB in the first half, %ld KiB in the second half\n", heapPeak[0],
                    heapPeak[1]);
    }
    if (options.compare) {
        std::printf("compared: most differing 4x4 blocks %.3f %% (%lld of %lld) in frame %lld\n",
                    100.0 * worstComparison.share(), static_cast<long long>(worstComparison.differing),
                    static_cast<long long>(worstComparison.blocks), static_cast<long long>(worstFrame));
        if (worstComparison.share() > kMostDifferingBlocks) status = 1;
    }
    return status;
}
