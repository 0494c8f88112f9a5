// The full-screen window over the whole virtual screen and the viewports it draws into, one per
// monitor, on the scripted platform. Pairs with host/saver_window.cpp.
#include <gtest/gtest.h>

#include <vector>

#include "host/saver.h"
#include "host/saver_constants.h"
#include "tests/support/fake_platform.h"
#include "tests/support/host_fixture.h"

// Beside the type, where gtest's comparisons look for it.
static bool operator==(const SceneViewport& a, const SceneViewport& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

namespace {

using Viewports = std::vector<SceneViewport>;

// The viewports of a window of one drawable, as on Windows and X11.
Viewports viewports(const SaverSurface& surface) {
    return surface.drawables.size() == 1 ? surface.drawables.front().viewports : Viewports{};
}

class SaverMonitors : public HostFixture {
protected:
    void SetUp() override { startOver(); }
    void startOver() {
        HostFixture::startOver();
        host.instance = 0x400000;
        host.runMode = RunMode::FullScreen;
    }

    SaverSurface surface;
};

TEST_F(SaverMonitors, FullScreenTakesTheVirtualScreenAndOneViewportPerMonitor) {
    // A 1280x1024 monitor left of the 1920x1080 primary, its top 200 pixels higher.
    fake::state.screen = {1920, 1080};
    fake::state.virtualScreen = platform::Rect{-1280, -200, 1920, 1080};
    fake::state.monitors = {{0, 0, 1920, 1080}, {-1280, -200, 0, 824}};
    ASSERT_TRUE(openSaverWindow(0, surface));

    const fake::CreatedWindow& created = fake::state.createdWindows.at(0);
    EXPECT_EQ(created.rect.left, -1280);
    EXPECT_EQ(created.rect.top, -200);
    EXPECT_EQ(created.rect.right, 1920);
    EXPECT_EQ(created.rect.bottom, 1080);
    EXPECT_EQ(surface.width, 3200);
    EXPECT_EQ(surface.height, 1280);
    EXPECT_EQ(fake::state.monitorQueries, 1);
    // GL rows count from the window's bottom; the left monitor's bottom is 256 rows above it.
    EXPECT_EQ(viewports(surface), (Viewports{{1280, 0, 1920, 1080}, {0, 256, 1280, 1024}}));
}

TEST_F(SaverMonitors, OneMonitorOrNoneKnownGivesTheWholeWindow) {
    fake::state.screen = {1024, 600};
    ASSERT_TRUE(openSaverWindow(0, surface));
    EXPECT_EQ(viewports(surface), (Viewports{{0, 0, 1024, 600}}));

    startOver();
    fake::state.screen = {1024, 600};
    fake::state.monitors = {{0, 0, 1024, 600}};
    SaverSurface single;
    ASSERT_TRUE(openSaverWindow(0, single));
    EXPECT_EQ(viewports(single), (Viewports{{0, 0, 1024, 600}}));
}

TEST_F(SaverMonitors, WithoutAVirtualScreenThePrimaryScreenIsCovered) {
    fake::state.screen = {800, 600};
    fake::state.virtualScreen = platform::Rect{0, 0, 0, 0};
    ASSERT_TRUE(openSaverWindow(0, surface));
    const fake::CreatedWindow& created = fake::state.createdWindows.at(0);
    EXPECT_EQ(created.rect.left, 0);
    EXPECT_EQ(created.rect.right, 800);
    EXPECT_EQ(created.rect.bottom, 600);
}

TEST_F(SaverMonitors, PreviewIsOneViewportAndAsksForNoMonitors) {
    host.runMode = RunMode::Preview;
    fake::state.monitors = {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
    const platform::WindowHandle parent = fake::addForeignWindow({300, 200, 452, 312});
    ASSERT_TRUE(openSaverWindow(parent, surface));
    EXPECT_EQ(viewports(surface), (Viewports{{0, 0, 152, 112}}));
    EXPECT_EQ(fake::state.monitorQueries, 0);
}

TEST_F(SaverMonitors, ANewWindowSizeLaysTheViewportsOutAgain) {
    fake::state.screen = {1920, 1080};
    ASSERT_TRUE(openSaverWindow(0, surface));
    EXPECT_FALSE(followWindowSize(surface));
    EXPECT_EQ(viewports(surface), (Viewports{{0, 0, 1920, 1080}}));
    // A second monitor of 1280x720 right of the first: the screen grows with it.
    fake::state.monitors = {{0, 0, 1920, 1080}, {1920, 0, 3200, 720}};
    fake::state.newWindowSize = fake::Size{3200, 1080};
    EXPECT_TRUE(followWindowSize(surface));
    EXPECT_EQ(surface.width, 3200);
    EXPECT_EQ(viewports(surface), (Viewports{{0, 0, 1920, 1080}, {1920, 360, 1280, 720}}));
}

// Wayland: a drawable per output, each over its output, and one not yet sized by the compositor.
TEST_F(SaverMonitors, EachDrawableShowsTheMonitorsItCoversAndAnUnsizedOneNothing) {
    fake::state.screen = {3200, 1080};
    fake::state.monitors = {{0, 0, 1920, 1080}, {1920, 0, 3200, 720}};
    fake::state.drawables = {{0x51, {0, 0, 1920, 1080}}, {0x52, {1920, 0, 3200, 720}}, {0x53, {0, 0, 0, 0}}};
    ASSERT_TRUE(openSaverWindow(0, surface));
    ASSERT_EQ(surface.drawables.size(), 3u);
    EXPECT_EQ(surface.drawables[0].dc, 0x51u);
    EXPECT_EQ(surface.drawables[0].viewports, (Viewports{{0, 0, 1920, 1080}}));
    EXPECT_EQ(surface.drawables[1].viewports, (Viewports{{0, 0, 1280, 720}}));
    EXPECT_TRUE(surface.drawables[2].viewports.empty());
}

TEST_F(SaverMonitors, OnlyMonitorsOfTheirOwnGetAPictureAndAnOverlongListIsCut) {
    using Rects = std::vector<platform::Rect>;
    const auto kept = [](Rects monitors) {
        const Rects shown = monitorsWithAPicture(monitors.data(), static_cast<std::int32_t>(monitors.size()));
        std::vector<std::int32_t> widths;
        for (const platform::Rect& m : shown) widths.push_back(m.right - m.left);
        return widths;
    };
    using Widths = std::vector<std::int32_t>;
    EXPECT_EQ(kept({{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}}), (Widths{1920, 1280}));  // side by side
    EXPECT_EQ(kept({{0, 0, 1920, 1080}, {0, 0, 1920, 1080}}), (Widths{1920}));  // a clone
    EXPECT_EQ(kept({{0, 0, 1280, 720}, {0, 0, 1920, 1080}}), (Widths{1920}));  // a smaller clone first
    EXPECT_EQ(kept({{0, 0, 1280, 1024}, {0, 0, 1600, 900}}), (Widths{1280}));  // partly over the first
    EXPECT_EQ(kept({{0, 0, 1920, 1080}, {0, 0, 0, 0}}), (Widths{1920}));  // switched off
    // A laptop panel cloned on a projector: the projector overlaps the panel listed before it.
    fake::state.monitors = {{0, 0, 1920, 1080}, {0, 0, 1600, 1200}};
    EXPECT_EQ(fullScreenViewports({0, 0, 1920, 1200}), (Viewports{{0, 120, 1920, 1080}}));

    // A platform that reports more monitors than the host asked for fills only what it was given.
    std::vector<platform::Rect> many;
    for (std::int32_t i = 0; i < 100; ++i) many.push_back({i * 10, 0, i * 10 + 10, 10});
    fake::state.monitors = many;
    const Viewports cut = fullScreenViewports({0, 0, 1000, 10});
    ASSERT_FALSE(cut.empty());
    EXPECT_LT(cut.size(), many.size());
    EXPECT_EQ(cut.front(), (SceneViewport{0, 0, 10, 10}));
}

}  // namespace
