// The kaleidoscope laid from copies of one drawing of the field against the clip-plane drawing of
// the same scene state, drawn through a framebuffer object and read back from the window: at full
// HD steady, during a transition whose last wedges overlap the first, and with a sprite over the
// logo band; at the hosts' window sizes. Also the textures kept across
// monitors of different sizes, the fall-back when they cannot be made, and the choice of drawing.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/platform/offscreen_gl.h"
#include "scene/frame_clock.h"
#include "scene/mirror_config.h"
#include "scene/scene.h"
#include "scene/scene_seed.h"
#include "scene/viewports.h"
#include "sprites/sprite.h"
#include "sprites/sprite_field.h"
#include "tests/support/fake_platform.h"

namespace {

constexpr std::int32_t kWidth = 1920, kHeight = 1080;
constexpr double kPi = 3.14159265358979323846;

// Where the copies draw the field: a framebuffer object, or the window where the platform hands out
// no calls beyond OpenGL 1.1.
enum class Surface { Framebuffer, Window };

void useSurface(Surface surface) {
    fake::state.glProcAddress = surface == Surface::Framebuffer ? OffscreenGl::procAddress : nullptr;
}

// One frame of the scene's present state drawn one way, into each of `viewports` (the whole context
// when none), read back top row first.
std::vector<std::uint8_t> drawn(OffscreenGl& gl, Scene& scene, const MirrorConfig& config, MirrorDrawing drawing,
                                std::vector<SceneViewport> viewports = {}) {
    scene.mirrorDrawing = drawing;
    scene.firstFrameRendered = true;
    scene.drawFrame(config, viewports.data(), static_cast<std::int32_t>(viewports.size()));
    return gl.readPixels();
}

// A scene of `seed` at the clock's start, its first frame behind it; the copies draw on `surface`.
void freshScene(std::int32_t seed, Surface surface) {
    fake::reset();
    useSurface(surface);
    clockBase = ClockBase{};
    mirrorTransition = MirrorTransition{};
    setFixedSceneSeed(seed);
}

// Mean absolute difference per colour channel, the largest of the three, over the pixels `keep` takes
// (column, row from the top); also how many it took.
template <typename Keep>
double meanDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, Keep keep,
                      std::int64_t* taken = nullptr, std::int32_t width = kWidth) {
    std::int64_t sum[3] = {0, 0, 0}, count = 0;
    const std::int32_t height = static_cast<std::int32_t>(a.size() / 4 / static_cast<std::size_t>(width));
    for (std::int32_t row = 0; row < height; ++row) {
        for (std::int32_t col = 0; col < width; ++col) {
            if (!keep(col, row)) continue;
            const std::size_t k = (static_cast<std::size_t>(row) * width + col) * 4;
            for (int c = 0; c < 3; ++c) sum[c] += std::abs(a[k + c] - b[k + c]);
            ++count;
        }
    }
    if (taken) *taken = count;
    if (count == 0) return 0.0;
    return static_cast<double>(std::max({sum[0], sum[1], sum[2]})) / static_cast<double>(count);
}

std::int32_t brightest(const std::vector<std::uint8_t>& rgba, std::int32_t left, std::int32_t right,
                       std::int32_t top, std::int32_t bottom) {
    std::int32_t most = 0;
    for (std::int32_t row = top; row < bottom; ++row)
        for (std::int32_t col = left; col < right; ++col)
            for (int c = 0; c < 3; ++c)
                most = std::max<std::int32_t>(most, rgba[(static_cast<std::size_t>(row) * kWidth + col) * 4 + c]);
    return most;
}

TEST(WedgeCopies, MatchTheClipPlaneDrawing) {
    OffscreenGl gl;
    ASSERT_TRUE(gl.create(kWidth, kHeight)) << gl.error();
    // The band's rectangle in pixels: 98.18 pixels a unit at z = 0 (540 for 5.5 units).
    const double unit = kHeight / 2.0 / 5.5;
    const std::int32_t bandLeft = static_cast<std::int32_t>(kWidth / 2 + 3.0 * unit);
    const std::int32_t bandTop = static_cast<std::int32_t>(kHeight / 2 + 4.875 * unit);
    const std::int32_t bandBottom = static_cast<std::int32_t>(std::ceil(kHeight / 2 + 5.125 * unit));
    for (const Surface surface : {Surface::Framebuffer, Surface::Window})
    for (std::int32_t seed : {1, 42, 99, 200}) {
        freshScene(seed, surface);
        Scene scene(kWidth, kHeight);
        for (const char* state : {"steady", "transition", "band"}) {
            fake::state.counter = (state[0] == 's' ? 6 : state[0] == 't' ? 9 : 13) * 1000000LL;
            scene.beginFrame(0x10000);
            mirrorTransition = MirrorTransition{};
            const MirrorConfig* config = scene.currentConfig;
            if (state[0] == 't') {
                // Half-way from 36 to 15 degrees: 25.5, 15 wedges drawn as 16, the last overlapping.
                mirrorTransition.active = true;
                mirrorTransition.fromAngle = 36.0f;
                mirrorTransition.toAngle = 15.0f;
                mirrorTransition.startTime = scene.time - 1.0f;
                config = &scene.configToDraw();
                ASSERT_GT(2 * ((config->segmentCount + 1) / 2) * config->wedgeAngle, 370.0f);
            }
            if (state[0] == 'b') {
                // Sprite 19 moved to where the field shows through onto the band's middle, (5, -5).
                const double theta = config->wedgeAngle;
                const std::int32_t wedge = static_cast<std::int32_t>(std::floor((315.0 - 270.0) / theta));
                const std::int32_t step = wedge % 2 == 0 ? wedge : wedge + 1;
                const double turn = -step * theta * kPi / 180.0;
                double x = 5.0 * std::cos(turn) + 5.0 * std::sin(turn);
                const double y = 5.0 * std::sin(turn) - 5.0 * std::cos(turn);
                if (wedge != step) x = -x;
                Sprite& sprite = scene.spriteField->sprites[19];
                sprite.position[0] = static_cast<float>(x);
                sprite.position[1] = static_cast<float>(y);
                sprite.position[2] = 0.0f;
                sprite.scale = 1.0f;
                sprite.alpha = 1.0f;
            }
            const std::vector<std::uint8_t> clipped = drawn(gl, scene, *config, MirrorDrawing::ClipPlanes);
            const std::vector<std::uint8_t> copied = drawn(gl, scene, *config, MirrorDrawing::Copies);
            const std::string where = std::string(surface == Surface::Window ? "window" : "framebuffer") +
                                      ", seed " + std::to_string(seed) + ", " + state;
            if (state[0] == 'b') {
                ASSERT_GT(brightest(clipped, bandLeft, kWidth, bandTop, bandBottom), 60) << where;
            }

            const double frame = meanDifference(clipped, copied, [](std::int32_t, std::int32_t) { return true; });
            EXPECT_LE(frame, 2.0) << where;
            std::int64_t bandPixels = 0;
            const double band = meanDifference(
                clipped, copied,
                [&](std::int32_t col, std::int32_t row) {
                    return col >= bandLeft && row >= bandTop && row < bandBottom;
                },
                &bandPixels);
            ASSERT_GT(bandPixels, 5000);
            // The band's rectangle is drawn the clip-plane way: the same to within rounding. The faint
            // band missing under the copies makes about 1.
            EXPECT_LE(band, 0.5) << where;
            double worstEdge = 0.0;
            const std::int32_t steps = config->segmentCount <= 0 ? 1 : (config->segmentCount + 1) / 2;
            for (std::int32_t edge = -1; edge <= 2 * steps - 1; ++edge) {
                const double direction = (270.0 + edge * config->wedgeAngle) * kPi / 180.0;
                const double dx = std::cos(direction), dy = std::sin(direction);
                const double e = meanDifference(clipped, copied, [&](std::int32_t col, std::int32_t row) {
                    const double x = col + 0.5 - kWidth / 2.0, y = kHeight / 2.0 - (row + 0.5);
                    return x * dx + y * dy > 0.0 && std::fabs(x * dy - y * dx) < 1.5;
                });
                worstEdge = std::max(worstEdge, e);
                EXPECT_LE(e, 6.0) << where << ", edge " << edge;
            }
            if (std::getenv("MORVANE_SHOW_FIDELITY"))
                std::printf("%s: frame %.3f, band %.3f, worst edge %.3f\n", where.c_str(), frame, band, worstEdge);
        }
        ASSERT_NE(scene.wedgeCopies, nullptr);
        EXPECT_EQ(scene.wedgeCopies->surface(), surface == Surface::Window ? WedgeCopies::Surface::Window
                                                                          : WedgeCopies::Surface::Framebuffer);
    }
    setFixedSceneSeed(-1);
}

// The settings' preview, a tall window and a larger one, as hosts make them; a window that another
// program owns is never read back, so these take the framebuffer.
TEST(WedgeCopies, MatchTheClipPlaneDrawingAtTheHostsWindowSizes) {
    for (const SceneViewport size : {SceneViewport{0, 0, 535, 300}, SceneViewport{0, 0, 300, 535},
                                     SceneViewport{0, 0, 1280, 720}}) {
        OffscreenGl gl;
        ASSERT_TRUE(gl.create(size.width, size.height)) << gl.error();
        freshScene(42, Surface::Framebuffer);
        Scene scene(size.width, size.height);
        scene.windowReadable = false;
        for (const std::int64_t seconds : {3, 9}) {
            fake::state.counter = seconds * 1000000LL;
            const MirrorConfig& config = scene.beginFrame(0x10000);
            const std::vector<std::uint8_t> clipped = drawn(gl, scene, config, MirrorDrawing::ClipPlanes);
            const std::vector<std::uint8_t> copied = drawn(gl, scene, config, MirrorDrawing::Copies);
            const double frame = meanDifference(
                clipped, copied, [](std::int32_t, std::int32_t) { return true; }, nullptr, size.width);
            EXPECT_LE(frame, 2.0) << size.width << "x" << size.height << " at " << seconds << " s";
        }
        EXPECT_EQ(scene.wedgeCopies->surface(), WedgeCopies::Surface::Framebuffer);
    }
    setFixedSceneSeed(-1);
}

// The name the context hands out next: it grows with every texture made.
GLuint nextTextureName() {
    GLuint name = 0;
    glGenTextures(1, &name);
    glDeleteTextures(1, &name);
    return name;
}

// Monitors of two sizes share one set of textures, made once rather than at every viewport.
TEST(WedgeCopies, MonitorsOfDifferentSizesKeepTheirTextures) {
    OffscreenGl gl;
    ASSERT_TRUE(gl.create(1920, 1024)) << gl.error();
    const SceneViewport monitors[] = {{0, 0, 1280, 1024}, {1280, 0, 640, 480}};
    for (const Surface surface : {Surface::Framebuffer, Surface::Window}) {
        freshScene(7, surface);
        Scene scene(1920, 1024);
        for (std::int64_t frame = 1; frame <= 3; ++frame) {
            fake::state.counter = frame * 33000;
            scene.renderViewports(0x10000, monitors, 2);
        }
        const GLuint before = nextTextureName();
        for (std::int64_t frame = 4; frame <= 10; ++frame) {
            fake::state.counter = frame * 33000;
            scene.renderViewports(0x10000, monitors, 2);
        }
        EXPECT_EQ(nextTextureName(), before + 1) << (surface == Surface::Window ? "window" : "framebuffer");
    }
    setFixedSceneSeed(-1);
}

// The current process's address space, bytes.
std::uint64_t addressSpace() {
    unsigned long long pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    const int read = std::fscanf(statm, "%llu", &pages);
    std::fclose(statm);
    return read == 1 ? pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE)) : 0;
}

// Textures that cannot be made (out of memory) leave the wedges to the clip planes instead of laying
// incomplete textures as flat colour. Run in a child process whose address space is capped.
TEST(WedgeCopies, TexturesThatCannotBeMadeLeaveTheWedgesToTheClipPlanes) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not live under an address-space limit";
#endif
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        OffscreenGl gl;
        if (!gl.create(64, 64)) _exit(2);
        freshScene(42, Surface::Window);
        Scene scene(64, 64);
        fake::state.counter = 6000000;
        const MirrorConfig& config = scene.beginFrame(0x10000);
        // A viewport of 16000 x 8000 pixels, of which the context shows the middle: its copies need
        // a texture of 16384 x 8192, 512 MiB, where 256 MiB more are allowed (room for the
        // allocator's and the shader compiler's own reservations).
        const std::vector<SceneViewport> huge = {{32 - 8000, 32 - 4000, 16000, 8000}};
        const std::vector<std::uint8_t> clipped = drawn(gl, scene, config, MirrorDrawing::ClipPlanes, huge);
        const rlimit cap = {addressSpace() + (256u << 20), RLIM_INFINITY};
        if (setrlimit(RLIMIT_AS, &cap) != 0) _exit(3);
        const std::vector<std::uint8_t> copied = drawn(gl, scene, config, MirrorDrawing::Copies, huge);
        const double difference =
            meanDifference(clipped, copied, [](std::int32_t, std::int32_t) { return true; }, nullptr, 64);
        _exit(difference <= 0.5 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the copies drew something else; 2, 3: the test could not set up";
}

// The first frame shows without waiting for the copies' pixel code; the second is drawn from copies.
TEST(WedgeCopies, TakeOverFromTheSecondFrame) {
    OffscreenGl gl;
    ASSERT_TRUE(gl.create(640, 360)) << gl.error();
    freshScene(3, Surface::Framebuffer);
    Scene scene(640, 360);
    ASSERT_EQ(scene.mirrorDrawing, MirrorDrawing::Copies);  // llvmpipe
    scene.render(0x10000);
    EXPECT_EQ(scene.wedgeCopies, nullptr);
    EXPECT_EQ(scene.mirrorDrawing, MirrorDrawing::Copies);
    scene.render(0x10000);
    EXPECT_NE(scene.wedgeCopies, nullptr);
    setFixedSceneSeed(-1);
}

TEST(WedgeCopies, AreChosenForSoftwareRenderersOnly) {
    EXPECT_TRUE(isSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)", "Mesa"));
    EXPECT_TRUE(isSoftwareRenderer("softpipe", "Mesa"));
    EXPECT_TRUE(isSoftwareRenderer("Software Rasterizer", "Mesa Project"));
    EXPECT_TRUE(isSoftwareRenderer("GDI Generic", "Microsoft Corporation"));
    EXPECT_FALSE(isSoftwareRenderer("NVIDIA GeForce RTX 3060/PCIe/SSE2", "NVIDIA Corporation"));
    EXPECT_FALSE(isSoftwareRenderer("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)", nullptr));
    EXPECT_FALSE(isSoftwareRenderer(nullptr, nullptr));
}

}  // namespace
