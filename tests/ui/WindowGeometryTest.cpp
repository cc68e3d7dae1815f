// The main window comes back where it stood, on a screen that is still there (the round trip
// through the settings file is in the window's settings tests).

#include "ui/WindowGeometry.h"

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

} // namespace
