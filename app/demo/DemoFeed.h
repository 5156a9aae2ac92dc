// The demo feed: an HTTP server on 127.0.0.1 inside the program that serves a
// bundled configuration file, bundled banner and link pages, and a live-score
// page generated on each request from a simulated match day. The program runs
// its normal chain against it as configuration endpoint and live-score site.
#pragma once

#include "app/demo/MatchDay.h"

#include <QElapsedTimer>
#include <QUrl>

#include <memory>

class QHttpServer;

namespace caltrix::demo {

class DemoFeed {
public:
    // `matchMinutesPerSecond`: simulated match minutes per real second.
    explicit DemoFeed(double matchMinutesPerSecond = 0.25);
    ~DemoFeed();

    // Starts listening on a free port of 127.0.0.1; false when it cannot.
    bool Start();
    // http://127.0.0.1:<port>, valid once started.
    QUrl BaseUrl() const;

    // The simulated minute of the match day now.
    double MinutesNow() const;

private:
    QByteArray configuration() const;
    static QByteArray bundledFile(const QString& name);

    std::unique_ptr<QHttpServer> m_server;
    quint16 m_port = 0;
    double m_speed;
    double m_startMinute = 40.0;  // start where several matches already run
    QElapsedTimer m_clock;
    MatchDay m_day;
};

}  // namespace caltrix::demo
