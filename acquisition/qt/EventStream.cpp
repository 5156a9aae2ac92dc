#include "acquisition/qt/EventStream.h"

#include "common/FeedEvents.h"
#include "acquisition/qt/AcquisitionLogging.h"
#include "common/qt/TimeScale.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace caltrix {
namespace {

constexpr qint64 kReadBufferBytes = 64 * 1024;

QLatin1StringView latin1(std::string_view text) { return QLatin1StringView(text.data(), qsizetype(text.size())); }

// A whole non-negative number, or nothing.
std::optional<qint64> version(const QJsonValue& value) {
    if (!value.isDouble()) return std::nullopt;
    const double number = value.toDouble();
    if (number < 0 || number > 9e15 || number != static_cast<double>(static_cast<qint64>(number))) return std::nullopt;
    return static_cast<qint64>(number);
}

// The versions a page event's data names, when it is the feed's JSON object.
std::optional<FeedVersion> readVersion(const std::string& data) {
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(data));
    if (!document.isObject()) return std::nullopt;
    const QJsonObject object = document.object();
    FeedVersion read;
    read.page = version(object.value(latin1(kPageVersionKey)));
    read.configuration = version(object.value(latin1(kConfigurationVersionKey)));
    // The latest version is named, or the newer of the two.
    const std::optional<qint64> latest = version(object.value(latin1(kLatestVersionKey)));
    if (!latest && !read.page && !read.configuration) return std::nullopt;
    read.version = latest.value_or(std::max(read.page.value_or(0), read.configuration.value_or(0)));
    read.received = QDateTime::currentDateTimeUtc();
    return read;
}

QString seconds(std::chrono::milliseconds delay) {
    return QString::number(static_cast<double>(delay.count()) / 1000.0, 'f', 1) + QStringLiteral(" s");
}

// A site that answers this has no event stream and will not have one soon;
// anything else (5xx, 408, 429) is a feed server in trouble.
bool refusal(int status) { return status >= 400 && status < 500 && status != 408 && status != 429; }

}  // namespace

EventStream::EventStream(QUrl address, std::function<double()> random, QObject* parent)
    : QObject(parent), m_address(std::move(address)), m_reconnect(std::move(random)) {
    m_clock.start();
    m_retry.setSingleShot(true);
    m_silence.setSingleShot(true);
    m_silence.setInterval(kSilenceLimitMs);
    connect(&m_retry, &QTimer::timeout, this, &EventStream::open);
    connect(&m_silence, &QTimer::timeout, this,
            [this] { dropped(QStringLiteral("nothing received for %1 s").arg(kSilenceLimitMs / 1000)); });
}

EventStream::~EventStream() { endConnection(); }

void EventStream::Start() { open(); }

std::optional<qint64> EventStream::MillisecondsToNextAttempt() const {
    if (!m_retry.isActive()) return std::nullopt;
    return m_retry.remainingTime();
}

// The stream's own clock in design time: the schedule's delays follow the
// time scale like every other interval of the program.
StreamReconnect::Clock::time_point EventStream::now() const {
    return StreamReconnect::Clock::time_point(
        std::chrono::milliseconds(static_cast<qint64>(static_cast<double>(m_clock.elapsed()) / TimeScale())));
}

void EventStream::open() {
    endConnection();
    QNetworkRequest request(m_address);
    request.setRawHeader("Accept", "text/event-stream");
    request.setRawHeader("Cache-Control", "no-cache");
    if (!m_lastEventId.empty()) request.setRawHeader("Last-Event-ID", QByteArray::fromStdString(m_lastEventId));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_parser = EventStreamParser();
    m_streaming = false;
    m_bytesWithoutEvent = 0;
    m_reply = m_network.get(request);
    m_reply->setReadBufferSize(kReadBufferBytes);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &EventStream::onHeaders);
    connect(m_reply, &QNetworkReply::readyRead, this, &EventStream::onData);
    connect(m_reply, &QNetworkReply::finished, this, &EventStream::onFinished);
    m_silence.start();
    qCDebug(lcEvents) << "opening the event stream" << m_address.toDisplayString();
}

void EventStream::endConnection() {
    m_silence.stop();
    if (!m_reply) return;
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    reply->disconnect(this);
    // Not from inside the reply's own signals: it may be reporting an error.
    QTimer::singleShot(0, reply, [reply] {
        reply->abort();
        reply->deleteLater();
    });
}

void EventStream::onHeaders() {
    if (m_streaming || !m_reply) return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 0 || (status >= 300 && status < 400)) return;  // not yet, or a redirect being followed
    const QString type = m_reply->header(QNetworkRequest::ContentTypeHeader).toString();
    if (status == 200 && type.startsWith(QLatin1String("text/event-stream"), Qt::CaseInsensitive)) {
        m_streaming = true;
        m_reconnect.Opened(now());
        setState(State::Connected);
    } else if (refusal(status) || (status >= 200 && status < 300)) {
        refused(QStringLiteral("HTTP %1%2").arg(status).arg(status < 300 ? QStringLiteral(", ") + type : QString()));
    } else {
        dropped(QStringLiteral("HTTP %1").arg(status));
    }
}

void EventStream::onData() {
    if (!m_reply) return;
    if (!m_streaming) onHeaders();
    if (!m_streaming) return;
    m_silence.start();
    const QByteArray bytes = m_reply->readAll();
    m_bytesWithoutEvent += bytes.size();
    const bool intact = m_parser.Feed(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                      [this](const StreamEvent& event) { takeEvent(event); });
    if (!m_reply) return;  // a handler of newVersion ended the stream
    if (!intact) {
        dropped(QStringLiteral("the stream sent %1").arg(QString::fromStdString(m_parser.Fault())));
    } else if (m_bytesWithoutEvent > kMaxBytesWithoutEvent) {
        dropped(QStringLiteral("more than %1 bytes without a page event").arg(kMaxBytesWithoutEvent));
    }
}

void EventStream::takeEvent(const StreamEvent& event) {
    m_lastEventId = event.id;
    if (event.type != kPageEventType && event.type != "message") return;  // a relay's own pings, for one
    const std::optional<FeedVersion> version = readVersion(event.data);
    if (!version) {
        qCDebug(lcEvents) << "event without a version ignored:" << QString::fromStdString(event.data.substr(0, 200));
        return;
    }
    m_bytesWithoutEvent = 0;
    const bool fresh = !m_lastVersion || m_lastVersion->version != version->version;
    m_lastVersion = version;
    emit stateChanged();
    if (fresh) emit newVersion(version->version);
}

void EventStream::onFinished() {
    if (!m_reply) return;
    if (!m_streaming) onHeaders();
    if (!m_reply) return;
    const QString reason = m_reply->error() == QNetworkReply::NoError ? QStringLiteral("the server ended the stream")
                                                                      : m_reply->errorString();
    dropped(reason);
}

void EventStream::dropped(const QString& reason) {
    endConnection();
    const auto when = m_reconnect.Dropped(now());
    if (m_state != State::Dropped)
        qCWarning(lcEvents).noquote() << "event stream" << m_address.toDisplayString() << "dropped:" << reason
                                      << "- reopening in"
                                      << seconds(std::chrono::duration_cast<std::chrono::milliseconds>(when - now()))
                                      << "and at growing intervals up to a minute while it stays down; the update "
                                         "cycle keeps its cadence meanwhile";
    else
        qCDebug(lcEvents).noquote() << "event stream still down:" << reason;
    retryAt(when);
    setState(State::Dropped);
}

void EventStream::refused(const QString& reason) {
    endConnection();
    const auto when = m_reconnect.Refused(now());
    if (m_state != State::Refused)
        qCInfo(lcEvents).noquote() << "event stream refused by" << m_address.toDisplayString() << "(" + reason + "):"
                                   << "not a feed server; asking again in 10 minutes, the update cycle keeps its "
                                      "cadence";
    retryAt(when);
    setState(State::Refused);
}

void EventStream::retryAt(StreamReconnect::Clock::time_point when) {
    const auto delay = std::chrono::duration_cast<std::chrono::milliseconds>(when - now());
    m_retry.start(ScaledMilliseconds(static_cast<double>(std::max<qint64>(delay.count(), 0))));
}

void EventStream::setState(State state) {
    if (state == State::Connected && m_state != State::Connected)
        qCInfo(lcEvents).noquote() << "event stream connected:" << m_address.toDisplayString();
    const bool changed = state != m_state;
    m_state = state;
    if (changed) emit stateChanged();
}

}  // namespace caltrix
