// Frames per second of the saver's Scene at 1920 x 1080 on the offscreen context: with the mirrors
// on in the 24-wedge layout (the most sprite draws) and with them off. Run with LP_NUM_THREADS=0 to
// keep Mesa's software renderer on one core; `make bench-render` does.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "host/platform/offscreen_gl.h"
#include "host/saver.h"
#include "scene/scene.h"
#include "scene/scene_seed.h"
#include "host/platform/headless.h"

namespace {

constexpr std::int32_t kWidth = 1920;
constexpr std::int32_t kHeight = 1080;

void renderFrames(benchmark::State& state, bool mirrors) {
    OffscreenGl gl;
    if (!gl.create(kWidth, kHeight)) {
        state.SkipWithError(gl.error().c_str());
        return;
    }
    setFixedSceneSeed(17);
    headless::setPerformanceCounter(0);
    Scene scene(kWidth, kHeight);
    if (mirrors) scene.selectMirrorConfig(7, false);
    const std::int32_t flags = mirrors ? kMirrorFlag : 0;
    // Thirty frames a second of scene time, as the saver paces itself.
    std::int64_t frame = 0;
    for (auto _ : state) {
        headless::setPerformanceCounter(++frame * headless::kCounterFrequency / 30);
        // Keep the 24-wedge layout: the drift may pick another one now and then.
        if (mirrors) scene.selectMirrorConfig(7, false);
        scene.render(flags);
        glFinish();
        gl.swap();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_RenderMirrors24(benchmark::State& state) { renderFrames(state, true); }
void BM_RenderNoMirrors(benchmark::State& state) { renderFrames(state, false); }

// Timed by the CPU time of this thread, which does all of the rasterising with LP_NUM_THREADS=0: the
// cost of a frame on one core, whatever else the machine is running. "fps" is frames per CPU second.
BENCHMARK(BM_RenderMirrors24)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_RenderNoMirrors)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
    // One core unless the caller says otherwise: llvmpipe rasterises on the calling thread.
    setenv("LP_NUM_THREADS", "0", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
