// The kaleidoscope laid from copies of one drawing of the field, held to the clip-plane drawing of
// the same scene state: through transitions between every layout in both directions, at full HD,
// wide, tall, odd and tiny sizes, on monitor layouts, drawn through a framebuffer object and read back
// from the window; the band's rectangle under a sprite. Also the textures kept across monitors of
// different sizes, the fall-back when they cannot be made, and the choice of drawing.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "host/platform/offscreen_gl.h"
#include "host/saver.h"
#include "scene/frame_clock.h"
#include "scene/mirror_config.h"
#include "scene/scene.h"
#include "scene/scene_seed.h"
#include "scene/viewports.h"
#include "sprites/sprite.h"
#include "sprites/sprite_field.h"
#include "tests/support/fake_platform.h"
#include "tools/render/frame_compare.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::int32_t kMirrors = 0x10000;

// Where the copies draw the field: a framebuffer object, or the window where the platform hands out
// no calls beyond OpenGL 1.1.
enum class Surface { Framebuffer, Window };

// A scene of `seed` at the clock's start; the copies draw on `surface`.
void freshScene(std::int32_t seed, Surface surface) {
    fake::reset();
    fake::state.glProcAddress = surface == Surface::Framebuffer ? OffscreenGl::procAddress : nullptr;
    clockBase = ClockBase{};
    mirrorTransition = MirrorTransition{};
    setFixedSceneSeed(seed);
}

// One frame of the scene's present state drawn one way into a drawable that held another picture,
// read back top row first.
std::vector<std::uint8_t> drawn(OffscreenGl& gl, Scene& scene, const MirrorConfig& config, MirrorDrawing drawing,
                                const std::vector<SceneViewport>& viewports = {}) {
    glClearColor(0.3f, 0.0f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    scene.mirrorDrawing = drawing;
    scene.drawFrame(config, viewports.data(), static_cast<std::int32_t>(viewports.size()));
    return gl.readPixels();
}

// Pixels still showing what the drawable held before the frame: the frame did not clear it.
std::int64_t leftOver(const std::vector<std::uint8_t>& rgba) {
    std::int64_t count = 0;
    for (std::size_t k = 0; k + 3 < rgba.size(); k += 4)
        count += rgba[k] >= 70 && rgba[k] <= 82 && rgba[k + 1] == 0 && rgba[k + 2] >= 70 && rgba[k + 2] <= 82;
    return count;
}

struct FidelityCase {
    const char* name;
    std::int32_t width, height;
    std::int32_t seed;
    double start;  // seconds of scene time
    Surface surface;
    std::vector<platform::Rect> monitors;  // in the window's coordinates; none: the whole window
    double step;  // seconds between the frames compared during a transition
};

// Every case runs through eight transitions, from one layout to the one at the other end of the
// table and back (36 to 15 degrees and 15 to 36, then closer in), so that every wedge count from 10
// to 24 is drawn and every overlap of a transition's last wedges; each frame of it is compared.
// Viewports under 640x480 are drawn through clip planes: the small and tiny cases hold that.
TEST(WedgeCopies, DrawWhatTheClipPlanesDraw) {
    const FidelityCase cases[] = {
        {"full HD", 1920, 1080, 42, 0.0, Surface::Framebuffer, {}, 1.0},
        {"wide", 1024, 576, 7, 0.0, Surface::Framebuffer, {}, 0.4},
        {"tall", 480, 854, 13, 0.0, Surface::Framebuffer, {}, 0.4},
        {"many small sprites", 640, 480, 130, 80.0, Surface::Framebuffer, {}, 0.25},
        {"odd, read back from the window", 801, 599, 99, 0.0, Surface::Window, {}, 0.4},
        {"a preview", 300, 535, 13, 0.0, Surface::Framebuffer, {}, 0.5},
        {"small", 97, 61, 77, 0.0, Surface::Framebuffer, {}, 0.5},
        {"one pixel", 1, 1, 5, 0.0, Surface::Framebuffer, {}, 0.5},
        {"monitors side by side", 1280, 480, 30, 0.0, Surface::Framebuffer, {{0, 0, 640, 480}, {640, 0, 1280, 480}},
         0.4},
        {"monitors side by side, read back", 1280, 480, 30, 0.0, Surface::Window,
         {{0, 0, 640, 480}, {640, 0, 1280, 480}}, 0.4},
        {"monitors of different sizes", 1440, 600, 61, 0.0, Surface::Framebuffer,
         {{0, 0, 800, 600}, {800, 120, 1440, 600}}, 0.4},
        {"overlapping monitors", 1200, 600, 30, 0.0, Surface::Framebuffer, {{0, 0, 800, 600}, {400, 120, 1200, 600}},
         0.4},
    };
    constexpr std::int32_t kOrder[] = {7, 0, 6, 1, 5, 2, 4, 3};
    std::set<std::int32_t> wedgeCounts;
    for (const FidelityCase& c : cases) {
        OffscreenGl gl;
        ASSERT_TRUE(gl.create(c.width, c.height)) << gl.error();
        freshScene(c.seed, c.surface);
        Scene scene(c.width, c.height);
        const std::vector<platform::Rect> shown =
            monitorsWithAPicture(c.monitors.data(), static_cast<std::int32_t>(c.monitors.size()));
        const std::vector<SceneViewport> viewports =
            c.monitors.empty() ? std::vector<SceneViewport>{}
                               : monitorViewports(platform::Rect{0, 0, c.width, c.height}, shown.data(),
                                                  static_cast<std::int32_t>(shown.size()));
        double worst = 0.0, worstTime = 0.0;
        for (std::int32_t t = 0; t < 8; ++t) {
            for (double into = 0.0; into < 2.3; into += c.step) {
                const double seconds = c.start + 0.5 + 2.5 * t + into;
                fake::state.counter = std::llround(seconds * 1e6);
                const MirrorConfig* config = &scene.beginFrame(kMirrors);
                if (into == 0.0) {
                    scene.selectMirrorConfig(kOrder[t], true);
                    config = &scene.configToDraw();
                }
                wedgeCounts.insert(config->segmentCount);
                const std::vector<std::uint8_t> clipped = drawn(gl, scene, *config, MirrorDrawing::ClipPlanes, viewports);
                const std::vector<std::uint8_t> copied = drawn(gl, scene, *config, MirrorDrawing::Copies, viewports);
                const BlockComparison blocks = compareBlocks(clipped, copied, c.width, c.height);
                const std::string where = std::string(c.name) + ", " + std::to_string(seconds) + " s, " +
                                          std::to_string(config->wedgeAngle) + " degrees";
                EXPECT_LE(blocks.share(), kMostDifferingBlocks) << where;
                EXPECT_LE(leftOver(copied) * 100, static_cast<std::int64_t>(copied.size() / 4)) << where;
                EXPECT_LE(leftOver(clipped) * 100, static_cast<std::int64_t>(clipped.size() / 4)) << where;
                if (blocks.share() > worst) {
                    worst = blocks.share();
                    worstTime = seconds;
                }
            }
        }
        if (std::getenv("MORVANE_SHOW_FIDELITY"))
            std::printf("%s, %dx%d, seed %d: most differing blocks %.3f %% at %.2f s\n", c.name, c.width, c.height,
                        c.seed, 100.0 * worst, worstTime);
    }
    for (std::int32_t count = 10; count <= 24; ++count) EXPECT_EQ(wedgeCounts.count(count), 1u) << count;
    setFixedSceneSeed(-1);
}

// The band lies under the sprites: where a sprite crosses it, its rectangle is drawn the clip-plane
// way, band first, through only the wedges and sprites that reach it, and is the clip planes' own.
TEST(WedgeCopies, TheBandUnderASpriteIsTheClipPlanes) {
    constexpr std::int32_t kWidth = 1280, kHeight = 720;
    OffscreenGl gl;
    ASSERT_TRUE(gl.create(kWidth, kHeight)) << gl.error();
    freshScene(1, Surface::Framebuffer);
    Scene scene(kWidth, kHeight);
    fake::state.counter = 13000000;
    const MirrorConfig& config = scene.beginFrame(kMirrors);
    // Sprite 19 moved to where the field shows through onto the band's middle, (5, -5).
    const double theta = config.wedgeAngle;
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
    const std::vector<std::uint8_t> clipped = drawn(gl, scene, config, MirrorDrawing::ClipPlanes);
    const std::vector<std::uint8_t> copied = drawn(gl, scene, config, MirrorDrawing::Copies);
    // The band's rectangle, 3 to 7 units right of the centre and 4.875 to 5.125 below it, at 65.45
    // pixels a unit at z = 0 (360 for 5.5 units): drawn the same way, it is the same, pixel for pixel.
    const double unit = kHeight / 2.0 / 5.5;
    const std::int32_t left = static_cast<std::int32_t>(std::ceil(kWidth / 2 + 3.0 * unit));
    const std::int32_t right = static_cast<std::int32_t>(kWidth / 2 + 7.0 * unit);
    const std::int32_t top = static_cast<std::int32_t>(std::ceil(kHeight / 2 + 4.875 * unit));
    const std::int32_t bottom = static_cast<std::int32_t>(kHeight / 2 + 5.125 * unit);
    std::int32_t brightest = 0;
    std::int64_t differing = 0;
    for (std::int32_t row = top; row < bottom; ++row) {
        for (std::int32_t col = left; col < right; ++col) {
            const std::size_t k = (static_cast<std::size_t>(row) * kWidth + col) * 4;
            brightest = std::max<std::int32_t>(brightest, clipped[k]);
            differing += clipped[k] != copied[k] || clipped[k + 1] != copied[k + 1] || clipped[k + 2] != copied[k + 2];
        }
    }
    ASSERT_GT(brightest, 60);
    EXPECT_EQ(differing, 0) << "of " << (right - left) * (bottom - top);
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
    // Both in one drawable, as on X11 and Windows, or each a drawable of its own, as Wayland's outputs
    // are, the smaller one drawn first.
    for (const bool drawables : {false, true}) {
        for (const Surface surface : {Surface::Framebuffer, Surface::Window}) {
            freshScene(7, surface);
            Scene scene(1920, 1024);
            GLuint before = 0;
            for (std::int64_t frame = 1; frame <= 10; ++frame) {
                if (frame == 4) before = nextTextureName();
                fake::state.counter = frame * 33000;
                if (!drawables) {
                    scene.renderViewports(0x10000, monitors, 2);
                    continue;
                }
                const MirrorConfig& config = scene.beginFrame(0x10000);
                scene.drawFrame(config, &monitors[1], 1);
                scene.drawFrame(config, &monitors[0], 1);
            }
            EXPECT_EQ(nextTextureName(), before + 1)
                << (surface == Surface::Window ? "window" : "framebuffer") << (drawables ? ", drawables" : "");
        }
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
        _exit(compareBlocks(clipped, copied, 64, 64).differing == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the copies drew something else; 2, 3: the test could not set up";
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
