#include "common/qt/Attendi.h"

#include "common/qt/TimeScale.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace caltrix {

void Attendi(double seconds) { WaitUntilDone().Wait(seconds); }

void WaitUntilDone::Done() {
    m_done = true;
    if (m_loop) m_loop->quit();
}

bool WaitUntilDone::Wait(double seconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const auto deadline = QDeadlineTimer(ScaledMilliseconds(seconds * 1000.0), Qt::PreciseTimer);
    while (!m_done && !deadline.hasExpired()) {
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(deadline.remainingTime(), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        m_loop = nullptr;
    }
    return m_done;
}

}  // namespace caltrix
