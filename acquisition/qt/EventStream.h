// A screen's subscription to its feed server's event stream: holds one
// streaming GET open, reads its events as they arrive and says when the feed
// has a version the screen has not seen, so the update cycle can fetch it at
// once. Reopens a dropped stream on the schedule of StreamReconnect, and
// asks a site that refuses it (not a feed server) again only every 10
// minutes. One log line per change of state.
#pragma once

#include "acquisition/EventStreamParser.h"
#include "acquisition/StreamReconnect.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <optional>

class QNetworkReply;

namespace caltrix {

// What a page event says the feed serves now.
struct FeedVersion {
    qint64 version = 0;                   // the latest, to ask the page for
    std::optional<qint64> page;           // when the page last changed
    std::optional<qint64> configuration;  // when the configuration last changed
    QDateTime received;                   // when the screen got the event
};

class EventStream : public QObject {
    Q_OBJECT

public:
    // The feed server sends a heartbeat at least every 15 s; a stream silent
    // for three of them is taken as dropped. Real time: the server's
    // heartbeat does not follow the screen's time scale.
    static constexpr int kSilenceLimitMs = 45000;
    // A stream that sends this much without one event the screen can read
    // is not a feed's stream.
    static constexpr qint64 kMaxBytesWithoutEvent = 1024 * 1024;

    enum class State { Connecting, Connected, Dropped, Refused };

    // `random` gives numbers in [0, 1) for the reconnection jitter.
    explicit EventStream(QUrl address, std::function<double()> random, QObject* parent = nullptr);
    ~EventStream() override;

    void Start();

    const QUrl& Address() const { return m_address; }
    State CurrentState() const { return m_state; }
    const std::optional<FeedVersion>& LastVersion() const { return m_lastVersion; }
    // When the next attempt to open the stream is due, while it is not open.
    std::optional<qint64> MillisecondsToNextAttempt() const;

signals:
    // A page event naming a version other than the last one seen.
    void newVersion(qint64 version);
    void stateChanged();

private:
    void open();
    void onHeaders();
    void onData();
    void onFinished();
    void takeEvent(const StreamEvent& event);
    void endConnection();
    void dropped(const QString& reason);
    void refused(const QString& reason);
    void retryAt(StreamReconnect::Clock::time_point when);
    void setState(State state);
    StreamReconnect::Clock::time_point now() const;

    QUrl m_address;
    QNetworkAccessManager m_network;
    QNetworkReply* m_reply = nullptr;
    bool m_streaming = false;  // the answer is an event stream
    EventStreamParser m_parser;
    std::string m_lastEventId;  // sent back on reconnection
    qint64 m_bytesWithoutEvent = 0;
    StreamReconnect m_reconnect;
    QElapsedTimer m_clock;
    QTimer m_retry;
    QTimer m_silence;
    State m_state = State::Connecting;
    std::optional<FeedVersion> m_lastVersion;
};

}  // namespace caltrix
