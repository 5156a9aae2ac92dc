// Loading a page and waiting for the engine's verdict, for the tests.
#pragma once

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

namespace caltrix::testing {

// True when the page finished loading successfully within `timeoutMs`.
inline bool LoadAndWait(QWebEnginePage& page, const QUrl& url, int timeoutMs = 10000) {
    QEventLoop loop;
    bool ok = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, [&](bool success) {
        ok = success;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    page.setUrl(url);
    loop.exec();
    return ok;
}

// Processes events until `condition` holds or `timeoutMs` passed.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs = 30000) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(5);
    if (!condition()) loop.exec();
    return condition();
}

}  // namespace caltrix::testing
