#include "ui/TimeSlicedPump.h"

#include <QThread>
#include <gtest/gtest.h>

using pellmora::TimeSlicedPump;

TEST(TimeSlicedPumpTest, DispatchesAtOnceThenOncePerSlice) {
    int dispatched = 0;
    TimeSlicedPump pump([&] { ++dispatched; }, 1000);
    for (int i = 0; i < 100000; ++i)
        pump();
    EXPECT_EQ(dispatched, 1); // the first yield point; the rest fall inside the slice

    TimeSlicedPump brief([&] { ++dispatched; }, 5);
    brief();
    QThread::msleep(10);
    brief();
    brief();
    EXPECT_EQ(dispatched, 3);

    TimeSlicedPump every([&] { ++dispatched; }, 0);
    for (int i = 0; i < 10; ++i)
        every();
    EXPECT_EQ(dispatched, 13);
}
