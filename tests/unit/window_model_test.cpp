// The window rules of the X11 and test builds: creation, destruction with its children and queued
// messages, the posted queue and the quit message. Pairs with host/platform/window_model.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/platform/window_model.h"
#include "host/saver_constants.h"

namespace {

struct Heard {
    platform::WindowHandle window;
    std::uint32_t message;
};
std::vector<Heard> heard;
std::intptr_t createAnswer = 0;
constexpr std::uint32_t kUser = 0x400;  // a message of the program's own

std::intptr_t recorder(platform::WindowHandle window, std::uint32_t message, std::uintptr_t, std::intptr_t) {
    heard.push_back({window, message});
    if (message == WM_CREATE) return createAnswer;
    // Inside its own destruction a window can neither be destroyed again nor be posted to.
    if (message == WM_DESTROY) {
        EXPECT_FALSE(window_model::destroy(window));
        EXPECT_FALSE(window_model::post(window, kUser, 0, 0));
        window_model::postQuit(static_cast<std::int32_t>(window));
    }
    return 7;
}

class WindowModel : public testing::Test {
protected:
    void SetUp() override {
        window_model::reset();
        heard.clear();
        createAnswer = 0;
        ASSERT_TRUE(window_model::registerClass("C", recorder));
    }
    std::vector<std::uint32_t> heardBy(platform::WindowHandle window) const {
        std::vector<std::uint32_t> messages;
        for (const Heard& h : heard)
            if (h.window == window) messages.push_back(h.message);
        return messages;
    }
};

TEST_F(WindowModel, ClassesAreRegisteredOnceAndCreationSendsCreateOrIsRefused) {
    EXPECT_FALSE(window_model::registerClass("C", recorder));
    EXPECT_EQ(window_model::classProc("D"), nullptr);
    ASSERT_TRUE(window_model::create(1, recorder, 0));
    EXPECT_EQ(heardBy(1), std::vector<std::uint32_t>{WM_CREATE});
    createAnswer = -1;
    EXPECT_FALSE(window_model::create(2, recorder, 0));
    EXPECT_EQ(heardBy(2), (std::vector<std::uint32_t>{WM_CREATE, WM_DESTROY}));
    EXPECT_FALSE(window_model::alive(2));
    EXPECT_TRUE(window_model::known(2));
}

TEST_F(WindowModel, PostedMessagesComeInOrderAndTheQuitLast) {
    ASSERT_TRUE(window_model::create(1, recorder, 0));
    window_model::postQuit(3);
    EXPECT_TRUE(window_model::post(1, kUser, 0, 0));
    EXPECT_TRUE(window_model::post(0, kUser + 1, 0, 0));  // the thread's own queue
    EXPECT_FALSE(window_model::post(9, kUser, 0, 0));
    EXPECT_EQ(window_model::queued(), 3u);
    platform::Message m;
    std::vector<std::uint32_t> taken;
    while (window_model::take(m)) taken.push_back(m.message);
    EXPECT_EQ(taken, (std::vector<std::uint32_t>{kUser, kUser + 1, WM_QUIT}));
    EXPECT_EQ(m.wParam, 3u);
}

TEST_F(WindowModel, DestroyingDropsTheWindowsMessagesAndDestroysItsChildrenAfterIt) {
    ASSERT_TRUE(window_model::create(1, recorder, 0));
    ASSERT_TRUE(window_model::create(2, recorder, 1));
    ASSERT_TRUE(window_model::create(3, recorder, 0));
    window_model::post(1, kUser, 0, 0);
    window_model::post(2, kUser, 0, 0);
    window_model::post(3, kUser + 3, 0, 0);
    heard.clear();
    EXPECT_TRUE(window_model::destroy(1));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].window, 1u);
    EXPECT_EQ(heard[1].window, 2u);
    EXPECT_FALSE(window_model::alive(2));
    EXPECT_EQ(window_model::send(1, kUser, 0, 0), 0);
    EXPECT_EQ(window_model::send(3, kUser, 0, 0), 7);
    platform::Message m;
    ASSERT_TRUE(window_model::take(m));
    EXPECT_EQ(m.message, kUser + 3u);
    // Each WM_DESTROY above posted a quit: the last one's code stands.
    ASSERT_TRUE(window_model::take(m));
    EXPECT_EQ(m.message, static_cast<std::uint32_t>(WM_QUIT));
    EXPECT_EQ(m.wParam, 2u);
}

TEST_F(WindowModel, CloseAndDestroyEndEachWindowOnceAndVanishingTwiceIsOneDestroy) {
    ASSERT_TRUE(window_model::create(1, recorder, 0));
    ASSERT_TRUE(window_model::create(2, nullptr, 0));  // another program's window
    ASSERT_TRUE(window_model::create(3, recorder, 0));
    EXPECT_EQ(window_model::send(2, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(window_model::alive(2));
    window_model::destroy(1);
    window_model::destroy(1);
    window_model::destroy(3);
    EXPECT_EQ(heardBy(1), (std::vector<std::uint32_t>{WM_CREATE, WM_DESTROY}));
    EXPECT_EQ(heardBy(3), (std::vector<std::uint32_t>{WM_CREATE, WM_DESTROY}));
}

}  // namespace
