#include "common/qt/Attendi.h"

#include "common/qt/TimeScale.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace caltrix {

void Attendi(double seconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const auto deadline = QDeadlineTimer(ScaledMilliseconds(seconds * 1000.0), Qt::PreciseTimer);
    while (!deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(deadline.remainingTime(), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

}  // namespace caltrix
