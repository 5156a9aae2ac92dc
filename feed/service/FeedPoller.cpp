#include "feed/service/FeedPoller.h"

#include "feed/model/PageWriter.h"
#include "common/qt/CappedGet.h"
#include "common/qt/OffUiThread.h"
#include "feed/service/FeedLogging.h"
#include "feed/service/PollSchedule.h"
#include "feed/sources/ErrorAnswer.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>

#include <exception>
#include <memory>

namespace caltrix::feed {
namespace {

using namespace std::chrono;

std::size_t matchCount(const MatchModel& model) {
    std::size_t count = 0;
    for (const Competition& competition : model.competitions) count += competition.matches.size();
    return count;
}

QString sizeText(const MatchModel& model) {
    return QStringLiteral("%1 matches in %2 competitions").arg(matchCount(model)).arg(model.competitions.size());
}

}  // namespace

FeedPoller::FeedPoller(const Provider& provider, FeedSettings settings, std::optional<milliseconds> interval,
                       PollLimits limits)
    : m_provider(provider),
      m_settings(std::move(settings)),
      m_interval(interval),
      m_limits(limits),
      m_health(provider.name, duration_cast<seconds>(limits.outdatedAfter)) {
    m_clock.setSingleShot(true);
    connect(&m_clock, &QTimer::timeout, this, &FeedPoller::poll);
}

FeedPoller::~FeedPoller() {
    if (!m_reading) return;
    m_reading->wait();
    delete m_reading;
}

void FeedPoller::Start() { poll(); }

std::optional<std::string> FeedPoller::PageNow() {
    const MatchModel* model = Current();
    if (model == nullptr) return std::nullopt;
    return WritePage(*model, UtcNow(), [zone = m_settings.timeZone](std::chrono::sys_seconds instant) {
        return UtcOffset(zone, instant);
    });
}

QString FeedPoller::Description() const { return QStringLiteral("the %1 feed").arg(m_provider.name); }

QString FeedPoller::Origin() const { return m_provider.origin.isEmpty() ? m_settings.url : m_provider.origin; }

void FeedPoller::poll() {
    m_rateLimitWait.reset();
    m_requests = RequestUrls(m_provider, m_settings, LocalDayAt(UtcNow(), m_settings.timeZone));
    m_bodies.clear();
    fetchNext();
}

void FeedPoller::fetchNext() {
    const QUrl url = m_requests.takeFirst();
    if (url.isLocalFile())
        pollFile(url.toLocalFile());
    else
        pollNetwork(url);
}

void FeedPoller::received(QByteArray body) {
    m_bodies.append(std::move(body));
    if (m_requests.isEmpty())
        readOffUiThread();
    else
        fetchNext();
}

void FeedPoller::pollFile(const QString& path) {
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) return fault(QStringLiteral("cannot read %1").arg(path));
    if (info.size() > m_limits.sizeCap)
        return fault(QStringLiteral("%1 is larger than the cap of %2 bytes").arg(path).arg(m_limits.sizeCap));
    received(file.readAll());
}

void FeedPoller::pollNetwork(const QUrl& url) {
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "application/json");
    // The key must not follow a redirect to another host.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    if (!m_provider.keyHeader.isEmpty()) request.setRawHeader(m_provider.keyHeader, m_settings.key.toUtf8());
    auto* get = new CappedGet(m_network, request, m_limits.sizeCap, m_limits.timeout, this);
    connect(get, &CappedGet::finished, this, [this, get] { onReplyFinished(*get); });
}

void FeedPoller::onReplyFinished(CappedGet& get) {
    get.deleteLater();
    const QNetworkReply* reply = &get.Reply();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const auto header = [reply](const QByteArray& name) { return reply->rawHeader(name); };
    m_rateLimitWait = RateLimitWait(status, header, UtcNow());
    bool counted = false;
    const int callsLeft = reply->rawHeader("x-ratelimit-requests-remaining").toInt(&counted);
    if (counted) m_callsLeft = callsLeft;

    if (get.TimedOut())
        return fault(QStringLiteral("no complete answer within %1 s").arg(double(m_limits.timeout.count()) / 1000.0));
    if (get.TooLarge())
        return fault(QStringLiteral("answer larger than the cap of %1 bytes, download stopped").arg(m_limits.sizeCap));
    if (status != 0 && (status < 200 || status > 299))
        return refused(ReadErrorAnswer(status, get.TakeBody().left(kErrorBodyCap), !m_provider.keyHeader.isEmpty()));
    if (reply->error() != QNetworkReply::NoError)
        return fault(QStringLiteral("network error: %1").arg(reply->errorString()));
    received(get.TakeBody());
}

// Parsing a large answer takes a while: it runs on a thread of its own and
// the result comes back through the event loop.
void FeedPoller::readOffUiThread() {
    auto read = [read = m_provider.read, bodies = std::move(m_bodies), now = UtcNow()] {
        SourceResult result;
        try {
            for (const QByteArray& body : bodies) AddAnswer(result, read(body, now));
        } catch (const std::exception& error) {
            result.model.reset();
            result.error = error.what();
        }
        return result;
    };
    m_reading = StartOffUiThread(this, std::move(read), [this](const SourceResult& result) {
        m_reading->deleteLater();
        m_reading = nullptr;
        onRead(result);
    });
}

void FeedPoller::onRead(const SourceResult& result) {
    for (const std::string& status : result.unknownStatuses)
        if (m_unknownStatusesLogged.size() < kMaxStatusKindsLogged && m_unknownStatusesLogged.insert(status).second)
            qCWarning(lcFeed).noquote() << QStringLiteral(
                                               "%1: unknown match status \"%2\"; the match is shown with its score")
                                               .arg(m_provider.name, QString::fromStdString(status));
    if (result.refusal != Refusal::None) return refused(result);
    if (!result.model) return fault(QStringLiteral("answer not usable: %1").arg(QString::fromStdString(result.error)));

    const sys_seconds now = UtcNow();
    MatchModel model = *result.model;
    if (m_provider.localDayOnly) KeepMatchesOf(LocalDayAt(now, m_settings.timeZone), model);
    const bool modelChanged = !m_lastGood || !(*m_lastGood == model);
    const bool afterFault = m_health.Good(now, matchCount(model), sizeText(model));
    m_lastGood = std::move(model);
    const bool pageChanged = modelChanged || afterFault;
    finishPoll(withRateLimit(intervalAfterGoodPoll(now)));
    if (pageChanged) emit PageChanged();
}

// A refusal of the day's or the minute's calls waits for the provider's
// reset when its headers did not say how long.
void FeedPoller::refused(const SourceResult& answer) {
    if (answer.refusal == Refusal::DailyLimit) m_rateLimitWait = UntilDailyReset(UtcNow());
    if (answer.refusal == Refusal::RateLimit && !m_rateLimitWait) m_rateLimitWait = 60s;
    fault(QString::fromStdString(answer.error));
}

void FeedPoller::fault(const QString& what) {
    finishPoll(m_health.Failed(what, UtcNow(), [this](int faultsInARow) {
        return withRateLimit(BackOff(m_interval.value_or(m_provider.interval), faultsInARow));
    }));
}

const MatchModel* FeedPoller::Current() {
    if (!m_lastGood || m_health.Withheld(UtcNow())) return nullptr;
    return &*m_lastGood;
}

void FeedPoller::finishPoll(milliseconds wait) {
    m_clock.start(wait);
    emit PollFinished();
}

milliseconds FeedPoller::intervalAfterGoodPoll(sys_seconds now) const {
    if (m_interval) return *m_interval;
    const bool live = m_provider.liveInterval > 0s && QuietTime(*m_lastGood, now) == 0s;
    if (live) return m_provider.liveInterval;
    const seconds interval = m_provider.dailyCalls == 0 ? m_provider.interval : BudgetInterval(m_callsLeft, now);
    return m_provider.sleepsBetweenMatches ? std::max(interval, QuietTime(*m_lastGood, now)) : interval;
}

// No sooner than the provider asked for in its last answer.
milliseconds FeedPoller::withRateLimit(milliseconds wait) const {
    return std::max<milliseconds>(wait, m_rateLimitWait.value_or(0s));
}

QJsonObject FeedPoller::Status(sys_seconds now) const {
    return m_health.Status(now, m_clock.isActive() ? m_clock.remainingTime() / 1000 : 0);
}

}  // namespace caltrix::feed
