#include "common/qt/Attendi.h"
#include "common/qt/TimeScale.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace caltrix {
namespace {

TEST(Attendi, ZeroWaitStillProcessesPendingEvents) {
    bool served = false;
    QTimer::singleShot(0, [&] { served = true; });
    Attendi(0.0);
    EXPECT_TRUE(served);
}

TEST(Attendi, TimersKeepTickingDuringTheWait) {
    SetTimeScale(0.01);  // 5 s of design time last 50 ms
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    QElapsedTimer clock;
    clock.start();
    Attendi(5.0);
    SetTimeScale(1.0);
    EXPECT_GE(clock.elapsed(), 50);
    EXPECT_GE(ticks, 2);
}

}  // namespace
}  // namespace caltrix
