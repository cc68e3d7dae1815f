// The main window comes back where it stood, on a screen that is still there.

#include "ui/WindowGeometry.h"

#include <QMainWindow>
#include <gtest/gtest.h>

using namespace pellmora;

namespace {

TEST(WindowGeometry, APlaceIsKeptOnItsScreenOrBroughtBackOntoOne) {
    const QRect left(0, 0, 1920, 1050), right(1920, 0, 1280, 1000);
    const struct {
        QRect Stored;
        QRect Placed;
    } cases[] = {
        {{100, 80, 800, 600}, {100, 80, 800, 600}},
        {{2100, 50, 800, 600}, {2100, 50, 800, 600}},       // on the second screen
        {{1800, 50, 800, 600}, {1800, 50, 800, 600}},       // its centre on the second: stays
        {{5000, 50, 800, 600}, {560, 225, 800, 600}},       // that screen is gone: centred
        {{100, -200, 800, 600}, {100, 0, 800, 600}},        // title bar above the screen
        {{2000, 100, 1600, 1200}, {2000, 100, 1280, 1000}}, // larger than its screen
    };
    for (const auto& c : cases)
        EXPECT_EQ(OnExistingScreen(c.Stored, {left, right}), c.Placed) << c.Stored.x();
    EXPECT_EQ(OnExistingScreen({5, 5, 10, 10}, {}), QRect(5, 5, 10, 10));
}

TEST(WindowGeometry, APlacementComesBackAsItWasTaken) {
    QMainWindow window;
    EXPECT_FALSE(RestorePlacement(window, {}));
    const WindowPlacement stored{30, 40, 500, 400, false};
    ASSERT_TRUE(RestorePlacement(window, stored));
    const WindowPlacement back = PlacementOf(window);
    EXPECT_EQ(QRect(back.Left, back.Top, back.Width, back.Height), QRect(30, 40, 500, 400));
    EXPECT_FALSE(back.Maximized);
    ASSERT_TRUE(RestorePlacement(window, {30, 40, 500, 400, true}));
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
}

} // namespace
