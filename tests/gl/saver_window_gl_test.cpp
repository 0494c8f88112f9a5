// runSaverWindow whole, with a real Scene: the window is shown only once the Scene's textures
// exist, the textures are gone before the context is released, and input closes the saver once the
// set-up is over. Pairs with host/saver_window.cpp.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/platform/offscreen_gl.h"
#include "host/saver.h"
#include "host/saver_constants.h"
#include "scene/scene.h"
#include "tests/support/fake_platform.h"

namespace {

// Texture names a fresh context hands out first; the Scene makes two.
bool sceneTexturesExist() {
    for (GLuint name = 1; name <= 4; ++name)
        if (glIsTexture(name)) return true;
    return false;
}

// A fresh platform of a 64 x 64 screen and a host in `mode` with `settings`.
void startRun(RunMode mode, SaverSettings& settings) {
    fake::reset();
    fake::state.screen = {64, 64};
    host = HostState();
    host.runMode = mode;
    host.settings = &settings;
}

TEST(SaverWindowRun, ShowsTheWindowWithItsSceneAndDeletesTheSceneBeforeTheContext) {
    OffscreenGl gl;
    ASSERT_TRUE(gl.create(64, 64)) << gl.error();
    SaverSettings settings;
    startRun(RunMode::FullScreen, settings);

    std::vector<std::string> log;
    fake::state.callHook = [&log](const std::string& call) {
        log.push_back(call + (sceneTexturesExist() ? " +textures" : ""));
        // A key as soon as the window exists, handled by the frame loop: once set-up is over, input
        // closes the saver.
        if (call == "getDC") window_model::post(fake::state.createdWindows.at(0).handle, WM_KEYDOWN, 0x20, 0);
    };
    // The loop's own stop, should the key below not end the run.
    fake::state.sleepHook = [](std::uint32_t) {
        if (fake::state.sleeps.size() == 3) platform::postQuitMessage(1);
    };
    runSaverWindow(0, 10);

    EXPECT_EQ(log, (std::vector<std::string>{"registerClass OpenGL", "createWindow SaverWindow",
                                             "setScreenSaverRunning 1", "getDC", "choosePixelFormat",
                                             "setPixelFormat 7", "createGlContext", "makeCurrent 1",
                                             "showWindow 10 +textures", "destroyWindow +textures", "makeCurrent 0",
                                             "releaseDC", "deleteGlContext", "setScreenSaverRunning 0"}));
    EXPECT_EQ(fake::state.quitCodes, std::vector<std::int32_t>{0});
    EXPECT_EQ(host.scene, nullptr);
    host = HostState();
}

// Started hidden (SW_HIDE), the window loses the activation inside showWindow: that closes the saver
// as any later loss of it would, instead of leaving it running where no input reaches it.
TEST(SaverWindowRun, ALossOfActivationWhileTheWindowIsShownClosesTheSaver) {
    OffscreenGl gl;
    ASSERT_TRUE(gl.create(64, 64)) << gl.error();
    SaverSettings settings;
    startRun(RunMode::FullScreen, settings);
    fake::state.callHook = [](const std::string& call) {
        if (call == "showWindow 0") platform::sendMessage(host.saverWindow, WM_ACTIVATE, 0, 0);
    };
    fake::state.sleepHook = [](std::uint32_t) {
        if (fake::state.sleeps.size() == 3) platform::postQuitMessage(1);
    };
    runSaverWindow(0, 0);
    EXPECT_EQ(settings.closeRequested, 1u);
    EXPECT_EQ(fake::state.quitCodes, std::vector<std::int32_t>{0});
    host = HostState();
}

// On a software rasterizer every window is drawn from copies, but only the saver's own full-screen
// window may be read back: another program may destroy its window mid-frame.
TEST(SaverWindowRun, NeverReadsBackAWindowInsideAnotherPrograms) {
    OffscreenGl gl;
    ASSERT_TRUE(gl.create(64, 64)) << gl.error();
    for (const bool preview : {false, true}) {
        SaverSettings settings;
        startRun(preview ? RunMode::Preview : RunMode::FullScreen, settings);
        const platform::WindowHandle parent = preview ? fake::addForeignWindow({0, 0, 64, 64}) : 0;
        MirrorDrawing drawing = MirrorDrawing::ClipPlanes;
        bool readable = preview, shown = false;
        fake::state.callHook = [&](const std::string& call) {
            if (call.rfind("showWindow", 0) != 0) return;
            shown = true;
            drawing = host.scene->mirrorDrawing;
            readable = host.scene->windowReadable;
            platform::postQuitMessage(0);
        };
        runSaverWindow(parent, 10);
        ASSERT_TRUE(shown) << (preview ? "preview" : "full screen");
        EXPECT_EQ(drawing, MirrorDrawing::Copies);
        EXPECT_EQ(readable, !preview);
    }
    host = HostState();
}

// A window shown through several drawables (Wayland's surfaces, one per output): one animation step
// a frame, then in each sized drawable in turn the context made current, the picture, the overlay
// and the present; a drawable the compositor has not sized yet is left alone.
TEST(SaverWindowRun, PresentsOneAnimationStepInEverySizedDrawable) {
    OffscreenGl gl;
    ASSERT_TRUE(gl.create(64, 64)) << gl.error();
    SaverSettings settings;
    startRun(RunMode::FullScreen, settings);
    fake::state.monitors = {{0, 0, 32, 64}, {32, 0, 64, 64}};
    fake::state.drawables = {{0x51, {0, 0, 32, 64}}, {0x52, {0, 0, 0, 0}}, {0x53, {32, 0, 64, 64}}};
    SaverSurface surface;
    ASSERT_TRUE(openSaverWindow(0, surface));
    {
        Scene scene(surface.width, surface.height);
        const std::int32_t framesBefore = scene.frameCount;
        fake::state.calls.clear();
        EXPECT_TRUE(presentFrame(scene, surface, 0));
        EXPECT_EQ(scene.frameCount, framesBefore + 1);
        EXPECT_EQ(fake::state.calls, (std::vector<std::string>{"makeCurrent 1", "drawFrameOverlay 81", "swapBuffers 81",
                                                               "makeCurrent 1", "drawFrameOverlay 83", "swapBuffers 83"}));
        // One output alone is a drawable of its own too, unlike the window's device context.
        fake::state.drawables = {{0x51, {0, 0, 32, 64}}};
        fake::state.newWindowSize = fake::Size{64, 64};
        ASSERT_TRUE(followWindowSize(surface));
        fake::state.calls.clear();
        EXPECT_TRUE(presentFrame(scene, surface, 0));
        EXPECT_EQ(fake::state.calls, (std::vector<std::string>{"makeCurrent 1", "drawFrameOverlay 81", "swapBuffers 81"}));
    }
    closeSaverWindow(surface);
    host = HostState();
}

}  // namespace
