#include "app/report/ScreenReporter.h"

#include "common/WebAddresses.h"
#include "app/logging/AppLogging.h"

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QNetworkReply>

#include <unistd.h>

namespace caltrix {
namespace {

constexpr int kTimeoutMs = 10000;

QString problemOf(QNetworkReply* reply, int status) {
    if (reply->error() == QNetworkReply::OperationCanceledError)
        return QStringLiteral("no answer within %1 s").arg(kTimeoutMs / 1000);
    if (status == 0) return reply->errorString();
    if (status >= 200 && status < 300) return {};
    const QByteArray body = reply->read(200).trimmed();
    return QStringLiteral("HTTP %1: %2").arg(status).arg(QString::fromUtf8(body));
}

qint64 residentMemoryBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : 0;
}

int statusOf(QNetworkReply* reply) { return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(); }

}  // namespace

QJsonObject ScreenFigures(std::chrono::seconds uptime, int rendererRestarts, const QJsonObject& cycles) {
    return {{QStringLiteral("uptimeSeconds"), static_cast<qint64>(uptime.count())},
            {QStringLiteral("residentMemoryBytes"), residentMemoryBytes()},
            {QStringLiteral("rendererRestarts"), rendererRestarts},
            {QStringLiteral("cycles"), cycles}};
}

QByteArray JpegPicture(const QImage& picture, int width, qsizetype maxBytes) {
    QImage scaled = picture.width() > width ? picture.scaledToWidth(width, Qt::SmoothTransformation) : picture;
    for (;;) {
        for (int quality = 85; quality >= 25; quality -= 15) {
            QByteArray jpeg;
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            if (!scaled.save(&buffer, "JPG", quality)) return {};
            if (jpeg.size() <= maxBytes) return jpeg;
        }
        if (scaled.width() < 80) return {};
        scaled = scaled.scaledToWidth(scaled.width() * 3 / 4, Qt::SmoothTransformation);
    }
}

ScreenReporter::ScreenReporter(ReporterOptions options, std::function<QJsonObject()> status,
                               std::function<QImage()> picture, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_status(std::move(status)), m_picture(std::move(picture)) {
    m_nextReport.setSingleShot(true);
    connect(&m_nextReport, &QTimer::timeout, this, &ScreenReporter::sendReport);
    connect(&m_pictureTimer, &QTimer::timeout, this, &ScreenReporter::sendPicture);
}

void ScreenReporter::Start() {
    qCInfo(lcShell).noquote() << QStringLiteral("reporting as %1 to %2").arg(m_options.name, m_options.base.toString());
    if (m_options.pictureEvery.count() > 0)
        m_pictureTimer.start(std::chrono::duration_cast<std::chrono::milliseconds>(m_options.pictureEvery));
    Report();
}

void ScreenReporter::Report() {
    if (m_reportReply) {
        m_reportAgain = true;
        return;
    }
    const auto since = std::chrono::steady_clock::now() - m_lastReport;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(kReportAtMostEvery - since);
    // A later report already waits for a refused site's pause: leave it.
    if (m_nextReport.isActive() && m_nextReport.remainingTimeAsDuration() > kReportAtLeastEvery) return;
    m_nextReport.start(std::max(wait, std::chrono::milliseconds(0)));
}

QNetworkRequest ScreenReporter::requestFor(const QString& path, const QByteArray& type) const {
    QUrl url = m_options.base;
    url.setPath(QString::fromLatin1(kScreenReportsFolder.data(), static_cast<qsizetype>(kScreenReportsFolder.size())) +
                path);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, type);
    request.setTransferTimeout(kTimeoutMs);
    if (!m_options.token.isEmpty()) request.setRawHeader("Authorization", "Bearer " + m_options.token);
    return request;
}

void ScreenReporter::askWhetherFeed() {
    QUrl url = m_options.base;
    url.setPath(QString::fromLatin1(kFeedStatusPath.data(), static_cast<qsizetype>(kFeedStatusPath.size())));
    QNetworkRequest request(url);
    request.setTransferTimeout(kTimeoutMs);
    m_reportReply = m_network.get(request);  // without the token: the site is not known yet
    connect(m_reportReply, &QNetworkReply::finished, this, [this, reply = m_reportReply] { onFeedAnswer(reply); });
}

void ScreenReporter::onFeedAnswer(QNetworkReply* reply) {
    reply->deleteLater();
    m_reportReply = nullptr;
    const int status = statusOf(reply);
    m_confirmed =
        status == 200 && QJsonDocument::fromJson(reply->readAll()).object().contains(QStringLiteral("source"));
    if (!m_confirmed) {
        note(m_reportOutcome, QStringLiteral("reports"),
             QStringLiteral("the live-score site is not a caltrix-feed (%1 answers %2); asking again in %3 min")
                 .arg(QString::fromLatin1(kFeedStatusPath.data(), static_cast<qsizetype>(kFeedStatusPath.size())),
                      status ? QStringLiteral("HTTP %1").arg(status) : reply->errorString())
                 .arg(kAskAgainAfterRefusal.count()));
        m_nextReport.start(kAskAgainAfterRefusal);
        m_reportAgain = false;
        return;
    }
    sendReport();
}

void ScreenReporter::sendReport() {
    if (m_options.confirmFeed && !m_confirmed) {
        askWhetherFeed();
        return;
    }
    QJsonObject document = m_status();
    m_lastReport = std::chrono::steady_clock::now();
    m_nextReport.start(kReportAtLeastEvery);
    const QByteArray body = QJsonDocument(document).toJson(QJsonDocument::Compact);
    m_reportReply = m_network.put(requestFor(m_options.name, "application/json"), body);
    connect(m_reportReply, &QNetworkReply::finished, this, [this, reply = m_reportReply] { onReportAnswer(reply); });
}

void ScreenReporter::onReportAnswer(QNetworkReply* reply) {
    reply->deleteLater();
    m_reportReply = nullptr;
    const int status = statusOf(reply);
    const QString problem = problemOf(reply, status);
    if (status == 404 || status == 405 || status == 501) {
        // Not a feed server that takes reports: ask again much later.
        note(m_reportOutcome, QStringLiteral("reports"),
             problem + QStringLiteral("; asking again in %1 min").arg(kAskAgainAfterRefusal.count()));
        m_nextReport.start(kAskAgainAfterRefusal);
        m_reportAgain = false;
    } else {
        note(m_reportOutcome, QStringLiteral("reports"), problem);
    }
    if (problem.isEmpty()) {
        const QJsonObject answer = QJsonDocument::fromJson(reply->readAll()).object();
        if (answer.value(QStringLiteral("picture")).toBool()) sendPicture();
        // The first picture once the panels show the first results.
        if (std::exchange(m_pictureFirst, false) && m_options.pictureEvery.count() > 0)
            QTimer::singleShot(kFirstPictureAfter, this, &ScreenReporter::sendPicture);
    }
    emit ReportAnswered(status);
    if (std::exchange(m_reportAgain, false)) Report();
}

void ScreenReporter::sendPicture() {
    if (m_pictureReply || !m_picture) return;
    const QByteArray jpeg = JpegPicture(m_picture());
    if (jpeg.isEmpty()) {
        note(m_pictureOutcome, QStringLiteral("pictures"), QStringLiteral("the window gives no picture"));
        return;
    }
    m_pictureReply = m_network.put(requestFor(m_options.name + QStringLiteral("/picture"), "image/jpeg"), jpeg);
    connect(m_pictureReply, &QNetworkReply::finished, this, [this, reply = m_pictureReply] { onPictureAnswer(reply); });
}

void ScreenReporter::onPictureAnswer(QNetworkReply* reply) {
    reply->deleteLater();
    m_pictureReply = nullptr;
    const int status = statusOf(reply);
    note(m_pictureOutcome, QStringLiteral("pictures"), problemOf(reply, status));
    emit PictureAnswered(status);
}

void ScreenReporter::note(QString& last, const QString& what, const QString& problem) {
    const QString outcome = problem.isEmpty() ? QStringLiteral("ok") : problem;
    if (outcome == last) return;
    if (problem.isEmpty())
        qCInfo(lcShell).noquote() << QStringLiteral("%1 to %2 taken").arg(what, m_options.base.toString());
    else
        qCWarning(lcShell).noquote()
            << QStringLiteral("%1 to %2 dropped: %3").arg(what, m_options.base.toString(), problem);
    last = outcome;
}

}  // namespace caltrix
