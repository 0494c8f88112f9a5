// The saver window's procedure on the scripted platform: input turned into close requests, the close
// decision with its delay and password prompt, system commands, the cursor, and preview's passivity.
// Pairs with host/window_proc.cpp and host/password.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/saver.h"
#include "host/saver_constants.h"
#include "tests/support/fake_platform.h"
#include "tests/support/host_fixture.h"

namespace {

// The platform's password verifier, scripted: what it answers, and what it saw while it ran.
struct Verifier {
    int answer = 0;
    int calls = 0;
    platform::Point cursorAtClose = {0, 0};
    std::uint32_t checkingDuringPrompt = 0;
    std::intptr_t closeDuringPrompt = -1;
};
Verifier verifier;

int scriptedVerifier(std::uintptr_t window) {
    ++verifier.calls;
    verifier.checkingDuringPrompt = host.settings->checkingPassword;
    // Input reaching the window from the prompt's modal loop is ignored.
    saverWindowProc(window, WM_KEYDOWN, 0x41, 0);
    verifier.closeDuringPrompt = saverWindowProc(window, WM_CLOSE, 0, 0);
    fake::state.cursor = verifier.cursorAtClose;
    return verifier.answer;
}

class SaverWindowProc : public HostFixture {
protected:
    void SetUp() override { startOver(); }
    void startOver() {
        HostFixture::startOver();
        verifier = Verifier();
    }

    void open(RunMode mode, std::uint32_t tick = 5000, platform::Point cursor = {400, 300}) {
        host.runMode = mode;
        fake::state.tick = tick;
        fake::state.cursor = cursor;
        platform::registerClass({CS_OWNDC, saverWindowProc, 0, "OpenGL"});
        platform::WindowHandle parent = 0;
        std::uint32_t style = WS_POPUP | WS_VISIBLE;
        if (mode == RunMode::Preview) {
            parent = fake::addForeignWindow({0, 0, 152, 112});
            style = WS_CHILD | WS_VISIBLE;
        }
        window = platform::createWindow(0, "OpenGL", "SaverWindow", style, 0, 0, 100, 100, parent, 0);
        ASSERT_NE(window, 0u);
    }

    std::intptr_t send(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        return saverWindowProc(window, message, wParam, lParam);
    }

    // The frame loop's part: dispatch what is queued, up to the quit message.
    void pump() {
        platform::Message message;
        while (platform::peekMessage(message) && message.message != WM_QUIT) platform::dispatchMessage(message);
    }

    int closesPosted() const {
        int count = 0;
        for (const platform::Message& m : fake::state.posted)
            if (m.message == WM_CLOSE && m.window == window && m.wParam == 0 && m.lParam == 0) ++count;
        return count;
    }

    bool defaultHandled(std::uint32_t message) const {
        for (const platform::Message& m : fake::state.defaultHandled)
            if (m.message == message) return true;
        return false;
    }

    void useOlderPlatformWithVerifier(int answer) {
        fake::state.platformId = VER_PLATFORM_WIN32_WINDOWS;
        fake::state.libraries["PASSWORD.CPL"]["VerifyScreenSavePwd"] = reinterpret_cast<void*>(scriptedVerifier);
        verifier.answer = answer;
    }

    platform::WindowHandle window = 0;
};

TEST_F(SaverWindowProc, CreationRecordsWindowStartCursorAndTick) {
    open(RunMode::FullScreen, 123456, {17, -4});
    EXPECT_EQ(settings.window, window);
    EXPECT_EQ(settings.startCursor.x, 17);
    EXPECT_EQ(settings.startCursor.y, -4);
    EXPECT_EQ(settings.startTick, 123456u);
    EXPECT_TRUE(defaultHandled(WM_CREATE));
}

TEST(CursorMovedBeyond, EachAxisIsTestedAgainstTheThresholdByItself) {
    const platform::Point start = {400, 300};
    struct Move {
        std::int32_t dx, dy, threshold;
        bool closes;
    };
    for (const Move& m : std::vector<Move>{{50, 50, 50, false},
                                           {-50, -50, 50, false},
                                           {51, 0, 50, true},
                                           {0, 51, 50, true},
                                           {-51, 0, 50, true},
                                           {0, -51, 50, true},
                                           {0, 0, 0, false},
                                           {1, 0, 0, true},
                                           {0, -1, 0, true},
                                           {0, 0, -1, true},
                                           {5, 5, 5, false},
                                           {6, 0, 5, true}}) {
        const platform::Point now = {start.x + m.dx, start.y + m.dy};
        EXPECT_EQ(cursorMovedBeyond(start, now, m.threshold), m.closes)
            << m.dx << "," << m.dy << " threshold " << m.threshold;
    }
    // Positions at the ends of the range do not overflow the difference.
    EXPECT_TRUE(cursorMovedBeyond({INT32_MIN, 0}, {INT32_MAX, 0}, INT32_MAX));
    EXPECT_FALSE(cursorMovedBeyond({INT32_MIN, INT32_MIN}, {INT32_MIN, INT32_MIN}, 0));
}

TEST_F(SaverWindowProc, MouseMoveClosesBeyondTheThresholdReadingTheCursorNotTheMessage) {
    open(RunMode::FullScreen);
    // The message's own coordinates are far away; only the cursor counts.
    fake::state.cursor = {450, 350};
    send(WM_MOUSEMOVE, 0, (900 << 16) | 900);
    EXPECT_EQ(closesPosted(), 0);
    EXPECT_EQ(settings.closeRequested, 0u);
    EXPECT_TRUE(defaultHandled(WM_MOUSEMOVE));

    fake::state.cursor = {400, 351};
    send(WM_MOUSEMOVE);
    EXPECT_EQ(closesPosted(), 1);
    EXPECT_EQ(settings.closeRequested, 1u);
}

// Wayland tells a client where the pointer is only once it comes over the window.
TEST_F(SaverWindowProc, APointerUnknownAtTheStartIsMeasuredFromWhereItFirstShows) {
    fake::state.cursorUnknown = true;
    open(RunMode::FullScreen);
    send(WM_MOUSEMOVE);
    EXPECT_EQ(closesPosted(), 0);
    fake::state.cursorUnknown = false;
    fake::state.cursor = {1500, 900};
    send(WM_MOUSEMOVE);
    fake::state.cursor = {1550, 950};
    send(WM_MOUSEMOVE);
    EXPECT_EQ(closesPosted(), 0);
    fake::state.cursor = {1551, 900};
    send(WM_MOUSEMOVE);
    EXPECT_EQ(closesPosted(), 1);
}

TEST_F(SaverWindowProc, NegativeThresholdClosesOnTheFirstMoveWithoutMovement) {
    settings.mouseThreshold = -1;
    open(RunMode::FullScreen);
    send(WM_MOUSEMOVE);
    EXPECT_EQ(closesPosted(), 1);
}

TEST_F(SaverWindowProc, KeysButtonsAndLostActivationRequestAClose) {
    struct Input {
        std::uint32_t message;
        std::uintptr_t wParam;
    };
    for (const Input& input : std::vector<Input>{{WM_KEYDOWN, 0x20},
                                                 {WM_LBUTTONDOWN, 1},
                                                 {WM_RBUTTONDOWN, 2},
                                                 {WM_MBUTTONDOWN, 0x10},
                                                 {WM_ACTIVATE, 0},
                                                 {WM_ACTIVATE, 0x10000},  // lost while minimised
                                                 {WM_ACTIVATEAPP, 0},
                                                 {WM_NCACTIVATE, 0}}) {
        startOver();
        open(RunMode::FullScreen);
        send(input.message, input.wParam);
        EXPECT_EQ(closesPosted(), 1) << std::hex << input.message << " " << input.wParam;
        EXPECT_EQ(settings.closeRequested, 1u);
        EXPECT_TRUE(defaultHandled(input.message));
    }
}

TEST_F(SaverWindowProc, GainedActivationDoesNotClose) {
    open(RunMode::FullScreen);
    send(WM_ACTIVATE, 1);
    send(WM_ACTIVATEAPP, 1);
    send(WM_NCACTIVATE, 1);
    EXPECT_EQ(closesPosted(), 0);
    EXPECT_TRUE(defaultHandled(WM_ACTIVATE));
}

TEST_F(SaverWindowProc, CloseWithinTheDelayDestroysWithoutPromptAndPostsQuit) {
    useOlderPlatformWithVerifier(0);
    open(RunMode::FullScreen, 1000);
    send(WM_KEYDOWN);
    fake::state.tick = 1000 + 15000;
    pump();
    EXPECT_FALSE(window_model::alive(window));
    EXPECT_EQ(verifier.calls, 0);
    EXPECT_TRUE(fake::state.loadedLibraries.empty());
    ASSERT_EQ(fake::state.quitCodes.size(), 1u);
    EXPECT_EQ(fake::state.quitCodes[0], 0);
    EXPECT_FALSE(defaultHandled(WM_CLOSE));
}

TEST_F(SaverWindowProc, CloseOneMillisecondAfterTheDelayAsksForThePassword) {
    useOlderPlatformWithVerifier(1);
    open(RunMode::FullScreen, 1000);
    send(WM_LBUTTONDOWN);
    fake::state.tick = 1000 + 15001;
    pump();
    EXPECT_EQ(verifier.calls, 1);
    EXPECT_EQ(verifier.checkingDuringPrompt, 1u);
    EXPECT_EQ(verifier.closeDuringPrompt, 0);
    EXPECT_FALSE(window_model::alive(window));
    EXPECT_TRUE(fake::state.openLibraries.empty());
}

TEST(CloseWithinDelay, UnsignedTicksAndDelay) {
    EXPECT_TRUE(closeWithinDelay(15000, 0, 15));
    EXPECT_FALSE(closeWithinDelay(15001, 0, 15));
    EXPECT_TRUE(closeWithinDelay(0, 0, 0));
    EXPECT_FALSE(closeWithinDelay(1, 0, 0));
    // The tick wrapped between the readings: 0x1000 + 0x100 ms have passed.
    EXPECT_TRUE(closeWithinDelay(0x100u, 0xFFFFF000u, 5));
    EXPECT_FALSE(closeWithinDelay(0x100u, 0xFFFFF000u, 4));
    // A negative delay is nearly 49.7 days after the unsigned product.
    EXPECT_TRUE(closeWithinDelay(4000000000u, 0, -1));
    EXPECT_FALSE(closeWithinDelay(4294966297u, 0, -1));
    // The product wraps in 32 bits: 4,294,968 s is 704 ms.
    EXPECT_TRUE(closeWithinDelay(704, 0, 4294968));
    EXPECT_FALSE(closeWithinDelay(705, 0, 4294968));
}

TEST_F(SaverWindowProc, NegativeDelayMeansNoPromptInPractice) {
    settings.passwordDelay = -1;
    useOlderPlatformWithVerifier(0);
    open(RunMode::FullScreen, 0);
    send(WM_KEYDOWN);
    fake::state.tick = 3000000000u;
    pump();
    EXPECT_EQ(verifier.calls, 0);
    EXPECT_FALSE(window_model::alive(window));
}

TEST_F(SaverWindowProc, CloseBeforeAnyInputIsSwallowed) {
    open(RunMode::FullScreen);
    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_TRUE(window_model::alive(window));
    EXPECT_FALSE(defaultHandled(WM_CLOSE));
    EXPECT_TRUE(fake::state.quitCodes.empty());
}

TEST_F(SaverWindowProc, RefusedPasswordKeepsRunningAndRenewsTheStartCursor) {
    useOlderPlatformWithVerifier(0);
    verifier.cursorAtClose = {900, 700};
    open(RunMode::FullScreen, 0, {400, 300});
    send(WM_KEYDOWN);
    fake::state.tick = 60000;
    pump();

    EXPECT_EQ(verifier.calls, 1);
    EXPECT_TRUE(window_model::alive(window));
    EXPECT_EQ(settings.closeRequested, 1u);
    EXPECT_EQ(settings.checkingPassword, 0u);
    EXPECT_EQ(settings.startCursor.x, 900);
    EXPECT_EQ(settings.startCursor.y, 700);
    EXPECT_TRUE(fake::state.openLibraries.empty());
    // The prompt opened with the arrow and closed with the cursor hidden again.
    const std::vector<platform::CursorHandle>& cursors = fake::state.cursorsSet;
    ASSERT_EQ(cursors.size(), 2u);
    EXPECT_EQ(cursors[0], fake::kArrowCursor);
    EXPECT_EQ(cursors[1], 0u);
    // The key pressed inside the prompt requested nothing.
    EXPECT_EQ(closesPosted(), 1);

    // The threshold now counts from where the prompt closed, not from the start.
    fake::state.cursor = {950, 750};
    send(WM_MOUSEMOVE);
    EXPECT_EQ(closesPosted(), 1);
    // An outside close goes to the decision again, since the request stays set; the verifier is
    // loaded anew for this prompt.
    verifier.answer = 1;
    send(WM_CLOSE);
    EXPECT_EQ(verifier.calls, 2);
    EXPECT_FALSE(window_model::alive(window));
    EXPECT_EQ(fake::state.loadedLibraries.size(), 2u);
}

TEST_F(SaverWindowProc, WhileCheckingInputIsIgnoredAndTheArrowShows) {
    open(RunMode::FullScreen);
    settings.checkingPassword = 1;
    for (std::uint32_t message : {WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_ACTIVATE})
        send(message);
    fake::state.cursor = {0, 0};
    send(WM_MOUSEMOVE);
    EXPECT_EQ(closesPosted(), 0);
    EXPECT_EQ(settings.closeRequested, 0u);
    send(WM_SETCURSOR);
    settings.checkingPassword = 0;
    send(WM_SETCURSOR);
    EXPECT_EQ(fake::state.cursorsSet, (std::vector<platform::CursorHandle>{fake::kArrowCursor, 0}));
    EXPECT_TRUE(defaultHandled(WM_SETCURSOR));
}

TEST_F(SaverWindowProc, ScreenSaveAndCloseCommandsAreSwallowedOthersDefaulted) {
    open(RunMode::FullScreen);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_SCREENSAVE), 0);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_CLOSE), 0);
    EXPECT_FALSE(defaultHandled(WM_SYSCOMMAND));
    for (std::uintptr_t command : {SC_SCREENSAVE | 0x2, SC_CLOSE + 1, std::uintptr_t{0xF020}}) {
        send(WM_SYSCOMMAND, command);
        ASSERT_FALSE(fake::state.defaultHandled.empty());
        EXPECT_EQ(fake::state.defaultHandled.back().wParam, command);
    }
    EXPECT_TRUE(window_model::alive(window));
}

TEST_F(SaverWindowProc, OnTheNtFamilyTheCloseAfterTheDelayNeedsNoPrompt) {
    fake::state.libraries["PASSWORD.CPL"]["VerifyScreenSavePwd"] = reinterpret_cast<void*>(scriptedVerifier);
    open(RunMode::FullScreen, 0);
    send(WM_KEYDOWN);
    fake::state.tick = 100000;
    pump();
    EXPECT_EQ(verifier.calls, 0);
    EXPECT_TRUE(fake::state.loadedLibraries.empty());
    EXPECT_FALSE(window_model::alive(window));
}

TEST(VerifyPassword, AMissingVerifierLetsTheSaverClose) {
    fake::reset();
    fake::state.platformId = VER_PLATFORM_WIN32_WINDOWS;
    EXPECT_EQ(verifyPassword(1), 1);
    EXPECT_EQ(fake::state.loadedLibraries, std::vector<std::string>{"PASSWORD.CPL"});

    fake::state.libraries["PASSWORD.CPL"] = {};
    EXPECT_EQ(verifyPassword(1), 1);
    EXPECT_TRUE(fake::state.openLibraries.empty());
}

TEST_F(SaverWindowProc, PreviewIgnoresInputAndClosesOnlyWithItsParent) {
    open(RunMode::Preview);
    fake::state.cursor = {0, 0};
    for (std::uint32_t message : {WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_MOUSEMOVE,
                                  WM_ACTIVATE, WM_ACTIVATEAPP, WM_NCACTIVATE}) {
        send(message);
        EXPECT_TRUE(defaultHandled(message)) << message;
    }
    // A child window has no system menu: its SC_CLOSE goes to default handling, which closes nothing.
    send(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_TRUE(defaultHandled(WM_SYSCOMMAND));
    EXPECT_EQ(closesPosted(), 0);
    EXPECT_TRUE(window_model::alive(window));
    EXPECT_EQ(settings.closeRequested, 0u);
    send(WM_SETCURSOR);
    EXPECT_EQ(fake::state.cursorsSet, std::vector<platform::CursorHandle>{fake::kArrowCursor});

    platform::destroyWindow(window_model::parent(window));
    EXPECT_FALSE(window_model::alive(window));
    EXPECT_EQ(fake::state.quitCodes, std::vector<std::int32_t>{0});
}

TEST_F(SaverWindowProc, PreviewCloseGoesToDefaultHandling) {
    open(RunMode::Preview);
    send(WM_CLOSE);
    EXPECT_TRUE(defaultHandled(WM_CLOSE));
    EXPECT_FALSE(window_model::alive(window));
}

}  // namespace
