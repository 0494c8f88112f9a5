// Monitor rectangles to GL viewports: offsets from the window's bottom-left corner, negative screen
// origins, monitors cut to the window, and the whole window when no monitor remains.
#include "scene/viewports.h"

#include <gtest/gtest.h>

namespace {

bool operator==(const SceneViewport& a, const SceneViewport& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(MonitorViewports, VirtualScreenWithNegativeOriginsAndUnequalHeights) {
    // A 1280x1024 monitor left of a 1920x1080 primary, its top 200 pixels higher.
    const platform::Rect window = {-1280, -200, 1920, 1080};
    const platform::Rect monitors[] = {{0, 0, 1920, 1080}, {-1280, -200, 0, 824}};
    const std::vector<SceneViewport> v = monitorViewports(window, monitors, 2);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_TRUE((v[0] == SceneViewport{1280, 0, 1920, 1080}));
    // Its bottom edge is 256 pixels above the window's.
    EXPECT_TRUE((v[1] == SceneViewport{0, 256, 1280, 1024}));
}

TEST(MonitorViewports, MonitorsAreCutToTheWindowAndOutsideOnesDropped) {
    const platform::Rect window = {0, 0, 1000, 500};
    const platform::Rect monitors[] = {{-100, -50, 400, 500}, {2000, 0, 2500, 500}, {600, 100, 600, 400}};
    const std::vector<SceneViewport> v = monitorViewports(window, monitors, 3);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_TRUE((v[0] == SceneViewport{0, 0, 400, 500}));
}

TEST(MonitorViewports, NoUsableMonitorGivesTheWholeWindow) {
    const platform::Rect window = {-10, -20, 630, 460};
    const std::vector<SceneViewport> none = monitorViewports(window, nullptr, 0);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_TRUE((none[0] == SceneViewport{0, 0, 640, 480}));
    const platform::Rect outside = {5000, 5000, 6000, 6000};
    EXPECT_EQ(monitorViewports(window, &outside, 1).size(), 1u);
    const platform::Rect empty = {0, 0, 0, 0};
    EXPECT_TRUE(monitorViewports(empty, &outside, 1).empty());
}

}  // namespace
