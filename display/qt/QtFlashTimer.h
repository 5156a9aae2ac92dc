// A score flash timer on the user-interface thread: 500 ms (scaled by the
// program's time scale), each tick calls the given function.
#pragma once

#include <functional>

#include <QTimer>

#include "display/ScoreFlash.h"

namespace caltrix {

class QtFlashTimer final : public FlashTimer {
public:
    static constexpr int kIntervalMs = 500;

    explicit QtFlashTimer(std::function<void()> onTick);

    void Start() override { m_timer.start(); }
    void Stop() override { m_timer.stop(); }
    bool IsActive() const { return m_timer.isActive(); }
    int Interval() const { return m_timer.interval(); }

private:
    QTimer m_timer;
};

}  // namespace caltrix
