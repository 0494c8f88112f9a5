// The saver window's set-up and tear-down order, its failures with their messages, and the frame
// loop's draining, presenting and pacing, on the scripted platform without a GL context.
// Pairs with host/saver_window.cpp and host/frame_loop.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/measurement.h"
#include "host/saver.h"
#include "host/saver_constants.h"
#include "tests/support/fake_platform.h"
#include "tests/support/host_fixture.h"

namespace {

using Calls = std::vector<std::string>;

class SaverWindowSetUp : public HostFixture {
protected:
    void SetUp() override { startOver(); }
    void startOver() {
        HostFixture::startOver();
        host.instance = 0x400000;
    }

    SaverSurface surface;
};

TEST_F(SaverWindowSetUp, FullScreenOpensInOrderAndClosesInOrder) {
    host.runMode = RunMode::FullScreen;
    fake::state.screen = {1280, 720};
    ASSERT_TRUE(openSaverWindow(0x777, surface));
    EXPECT_EQ(fake::state.calls, (Calls{"registerClass OpenGL", "createWindow SaverWindow", "setScreenSaverRunning 1",
                                    "getDC", "choosePixelFormat", "setPixelFormat 7", "createGlContext",
                                    "makeCurrent 1"}));

    ASSERT_EQ(fake::state.registeredClasses.size(), 1u);
    const platform::WindowClass& windowClass = fake::state.registeredClasses[0];
    EXPECT_EQ(windowClass.style, 0x23u);
    EXPECT_EQ(windowClass.windowProc, &saverWindowProc);
    EXPECT_EQ(windowClass.instance, 0x400000u);

    ASSERT_EQ(fake::state.createdWindows.size(), 1u);
    const fake::CreatedWindow& created = fake::state.createdWindows[0];
    EXPECT_EQ(created.style, 0x90000000u);
    EXPECT_EQ(created.exStyle, 0u);
    EXPECT_EQ(created.parent, 0u);  // the command line's handle is ignored in full screen
    EXPECT_EQ(created.rect.left, 0);
    EXPECT_EQ(created.rect.right, 1280);
    EXPECT_EQ(created.rect.bottom, 720);
    EXPECT_EQ(surface.width, 1280);
    EXPECT_EQ(surface.height, 720);
    EXPECT_EQ(settings.window, created.handle);
    EXPECT_EQ(host.saverWindow, created.handle);

    ASSERT_EQ(fake::state.pixelFormatRequests.size(), 1u);
    const platform::PixelFormatRequest& request = fake::state.pixelFormatRequests[0];
    EXPECT_EQ(request.size, 40);
    EXPECT_EQ(request.version, 1);
    EXPECT_EQ(request.flags, 0x25u);
    EXPECT_EQ(request.pixelType, 0);
    EXPECT_EQ(request.colorBits, 32);
    EXPECT_EQ(request.layerType, 0);

    const std::size_t openCalls = fake::state.calls.size();
    closeSaverWindow(surface);
    const Calls tearDown(fake::state.calls.begin() + openCalls, fake::state.calls.end());
    EXPECT_EQ(tearDown, (Calls{"makeCurrent 0", "releaseDC", "deleteGlContext", "setScreenSaverRunning 0"}));
}

TEST_F(SaverWindowSetUp, PreviewIsAChildOfItsParentsSizeAndLeavesTheSaverStateAlone) {
    host.runMode = RunMode::Preview;
    const platform::WindowHandle parent = fake::addForeignWindow({300, 200, 452, 312});
    ASSERT_TRUE(openSaverWindow(parent, surface));
    const fake::CreatedWindow& created = fake::state.createdWindows.at(0);
    EXPECT_EQ(created.style, 0x50000000u);
    EXPECT_EQ(created.parent, parent);
    EXPECT_EQ(created.rect.left, 0);
    EXPECT_EQ(created.rect.top, 0);
    EXPECT_EQ(surface.width, 152);
    EXPECT_EQ(surface.height, 112);
    closeSaverWindow(surface);
    EXPECT_TRUE(fake::state.screenSaverRunning.empty());
}

TEST_F(SaverWindowSetUp, PreviewOfAMissingParentEndsQuietly) {
    host.runMode = RunMode::Preview;
    for (platform::WindowHandle parent : {platform::WindowHandle{0}, platform::WindowHandle{0xDEAD}}) {
        fake::reset();  // a window class is registered once a process
        SaverSurface missing;
        EXPECT_FALSE(openSaverWindow(parent, missing));
    }
    EXPECT_TRUE(fake::state.createdWindows.empty());
    EXPECT_TRUE(fake::state.messageBoxes.empty());
    EXPECT_TRUE(fake::state.screenSaverRunning.empty());
}

TEST_F(SaverWindowSetUp, EachFailureShowsItsMessageAndLowersTheStateItRaised) {
    struct Failure {
        void (*arrange)();
        const char* text;
        bool windowCreated;
    };
    const std::vector<Failure> failures = {
        {[] { fake::state.failRegisterClass = true; }, "RegisterClass() failed:  Cannot register window class.", false},
        {[] { fake::state.pixelFormat = 0; },
         "ChoosePixelFormat() failed:  Cannot find a suitable pixel format.", true},
        {[] { fake::state.failSetPixelFormat = true; }, "SetPixelFormat() failed:  Cannot set format specified.", true},
    };
    for (RunMode mode : {RunMode::FullScreen, RunMode::Preview}) {
        for (const Failure& failure : failures) {
            startOver();
            host.runMode = mode;
            failure.arrange();
            const platform::WindowHandle parent = fake::addForeignWindow({0, 0, 100, 80});
            SaverSurface failed;
            EXPECT_FALSE(openSaverWindow(parent, failed));
            ASSERT_EQ(fake::state.messageBoxes.size(), 1u) << failure.text;
            EXPECT_EQ(fake::state.messageBoxes[0].text, failure.text);
            EXPECT_EQ(fake::state.messageBoxes[0].caption, "Error");
            EXPECT_EQ(fake::state.messageBoxes[0].owner, 0u);
            EXPECT_EQ(fake::state.messageBoxes[0].type, MB_OK);
            EXPECT_EQ(fake::state.createdWindows.size(), failure.windowCreated ? 1u : 0u);
            // Raised exactly when a full-screen window was created, and then lowered.
            const std::vector<bool> expected = mode == RunMode::FullScreen && failure.windowCreated
                                                   ? std::vector<bool>{true, false}
                                                   : std::vector<bool>{};
            EXPECT_EQ(fake::state.screenSaverRunning, expected) << failure.text;
            const Calls& calls = fake::state.calls;
            EXPECT_EQ(std::count(calls.begin(), calls.end(), "releaseDC"), failure.windowCreated ? 1 : 0)
                << failure.text;
            for (const std::string& call : calls) EXPECT_NE(call, "createGlContext");
        }
    }
}

// The message box of a failed set-up takes the focus and runs its own message loop, which hands the
// saver window whatever comes meanwhile: none of it may close the saver under the box.
TEST_F(SaverWindowSetUp, NothingClosesTheSaverWhileItsSetUpMessageBoxIsUp) {
    host.runMode = RunMode::FullScreen;
    fake::state.pixelFormat = 0;
    fake::state.callHook = [](const std::string& call) {
        if (call != "messageBox") return;
        const platform::WindowHandle window = host.saverWindow;
        fake::state.cursor = {500, 500};
        for (std::uint32_t message : {WM_ACTIVATE, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_KEYDOWN, WM_LBUTTONDOWN,
                                      WM_MOUSEMOVE})
            platform::sendMessage(window, message, 0, 0);
        platform::Message queued;
        while (platform::peekMessage(queued)) platform::dispatchMessage(queued);
    };
    runSaverWindow(0, 10);
    ASSERT_EQ(fake::state.messageBoxes.size(), 1u);
    EXPECT_TRUE(window_model::alive(fake::state.createdWindows.at(0).handle));
    EXPECT_EQ(settings.closeRequested, 0u);
    EXPECT_TRUE(fake::state.quitCodes.empty());
    EXPECT_FALSE(host.settingUp);
}

// A frame source standing in for the Scene: it records what the loop shows it.
struct Frames {
    std::vector<std::int32_t> flags;
    std::vector<std::size_t> queuedAtRender;
    bool present = true;
    std::int32_t pause = 41;
    std::int32_t pauseAfterFrame = 41;
};

bool renderFrame(void* target, std::int32_t flags) {
    Frames& frames = *static_cast<Frames*>(target);
    frames.flags.push_back(flags);
    frames.queuedAtRender.push_back(window_model::queued());
    frames.pause = frames.pauseAfterFrame;
    return frames.present;
}
std::int32_t framePause(void* target) { return static_cast<Frames*>(target)->pause; }
const char* measuredRun(const char* name) {
    if (std::string(name) == "MORVANE_EXIT_AFTER_FRAMES") return "3";
    return nullptr;
}
const char* noMeasurement(const char*) { return nullptr; }


class FrameLoop : public HostFixture {
protected:
    void SetUp() override { startOver(); }
    void startOver() {
        HostFixture::startOver();
        frames = Frames();
        host.runMode = RunMode::FullScreen;
        platform::registerClass({CS_OWNDC, saverWindowProc, 0, "OpenGL"});
        window = platform::createWindow(0, "OpenGL", "SaverWindow", WS_POPUP, 0, 0, 10, 10, 0, 0);
    }

    // Ends the loop after `count` frames by posting the quit message from the sleep.
    void quitAfterFrames(std::size_t count) {
        fake::state.sleepHook = [this, count](std::uint32_t) {
            if (fake::state.sleeps.size() == count) platform::postQuitMessage(0);
        };
    }
    void run() { runFrameLoop(settings, {renderFrame, framePause, &frames}); }

    platform::WindowHandle window = 0;
    Frames frames;
};

TEST_F(FrameLoop, EveryWaitingMessageIsHandledBeforeAFrame) {
    for (int i = 0; i < 5; ++i) window_model::post(window, WM_SETCURSOR, 0, 0);
    fake::state.sleepHook = [this](std::uint32_t) {
        if (fake::state.sleeps.size() == 1) {
            window_model::post(window, WM_SETCURSOR, 0, 0);
            window_model::post(window, WM_SETCURSOR, 0, 0);
        } else {
            platform::postQuitMessage(0);
        }
    };
    run();
    EXPECT_EQ(frames.queuedAtRender, (std::vector<std::size_t>{0, 0}));
    EXPECT_EQ(fake::state.cursorsSet.size(), 7u);
}

TEST_F(FrameLoop, QuitEndsTheLoopAfterThePostedMessagesWithoutAFrame) {
    platform::postQuitMessage(0);
    window_model::post(window, WM_SETCURSOR, 0, 0);
    run();
    EXPECT_TRUE(frames.flags.empty());
    EXPECT_EQ(fake::state.cursorsSet.size(), 1u);
    EXPECT_EQ(window_model::queued(), 0u);
}

TEST_F(FrameLoop, SleepsThePauseReadAfterTheFrameAndCountsOnlyPresentedFrames) {
    readMeasurementSettings(measuredRun);
    frames.pauseAfterFrame = 17;
    frames.present = false;
    quitAfterFrames(4);
    run();
    readMeasurementSettings(noMeasurement);
    EXPECT_EQ(fake::state.sleeps, (std::vector<std::uint32_t>{17, 17, 17, 17}));
    // Nothing was presented: the measured run's three frames never came.
    EXPECT_TRUE(window_model::alive(window));
}

TEST_F(FrameLoop, MirrorFlagFollowsAnyNonZeroSetting) {
    for (std::uint32_t useMirrors : {0u, 1u, 7u, 0x80000000u}) {
        startOver();
        settings.useMirrors = useMirrors;
        quitAfterFrames(1);
        run();
        ASSERT_EQ(frames.flags.size(), 1u);
        EXPECT_EQ(frames.flags[0], useMirrors ? 0x10000 : 0) << useMirrors;
    }
}

TEST_F(FrameLoop, KeyPressThroughTheLoopEndsTheRun) {
    window_model::post(window, WM_KEYDOWN, 0x20, 0);
    fake::state.sleepHook = [](std::uint32_t) {
        if (fake::state.sleeps.size() > 3) platform::postQuitMessage(1);  // the test's own stop, never reached
    };
    run();
    EXPECT_FALSE(window_model::alive(window));
    EXPECT_TRUE(frames.flags.empty());
}

TEST_F(FrameLoop, AStopRequestClosesTheSaverBeforeTheNextFrame) {
    fake::state.sleepHook = [](std::uint32_t) {
        if (fake::state.sleeps.size() == 1) fake::state.stopRequested = true;
        if (fake::state.sleeps.size() > 3) platform::postQuitMessage(1);  // the test's own stop, never reached
    };
    run();
    EXPECT_EQ(frames.flags.size(), 1u);
    EXPECT_FALSE(window_model::alive(window));
    EXPECT_EQ(fake::state.quitCodes, std::vector<std::int32_t>{0});
}

TEST_F(FrameLoop, AMeasuredRunClosesTheSaverAfterItsLastFrame) {
    readMeasurementSettings(measuredRun);
    quitAfterFrames(10);  // should the count not end the run
    run();
    readMeasurementSettings(noMeasurement);
    EXPECT_EQ(frames.flags.size(), 3u);
    EXPECT_EQ(fake::state.sleeps.size(), 2u);
    EXPECT_FALSE(window_model::alive(window));
    EXPECT_EQ(fake::state.quitCodes, std::vector<std::int32_t>{0});
}

}  // namespace
