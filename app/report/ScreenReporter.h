// Reports the screen to its feed server: its status document after every
// cycle and at least once a minute (PUT <base>/feed/screens/NAME), and a
// picture of its own window every few minutes and when the operator asks
// (PUT .../NAME/picture). Requests run in the background with a time-out and
// never hold up the display; a report that cannot be sent is dropped, with
// one log line for each change of state.
#pragma once

#include "common/WebAddresses.h"

#include <QByteArray>
#include <QImage>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <functional>

class QNetworkReply;

namespace caltrix {

struct ReporterOptions {
    QUrl base;                               // the feed server: <base>/feed/screens/<name>
    QString name;                            // [A-Za-z0-9._-]{1,64}
    QByteArray token;                        // the fleet token; empty for none
    std::chrono::seconds pictureEvery{300};  // 0: only when the operator asks
    // The address was not given but taken from the live-score site: report
    // only once it answers /feed/status as a caltrix-feed does.
    bool confirmFeed = false;
};

inline constexpr std::chrono::seconds kReportAtLeastEvery{60};
inline constexpr std::chrono::milliseconds kReportAtMostEvery{1100};  // the server takes one a second
inline constexpr std::chrono::minutes kAskAgainAfterRefusal{10};      // a site that takes no reports
inline constexpr std::chrono::seconds kFirstPictureAfter{15};         // after the first report taken
inline constexpr int kPictureWidth = 640;

// `picture` as a JPEG about `width` pixels wide and at most `maxBytes`
// long: the quality is lowered, and then the size, until it fits.
QByteArray JpegPicture(const QImage& picture, int width = kPictureWidth,
                       qsizetype maxBytes = qsizetype(kMaxPictureBytes));

// The status document's "screen" object: how long the program runs, its
// resident memory, the renderer processes it restarted and its cycles.
QJsonObject ScreenFigures(std::chrono::seconds uptime, int rendererRestarts, const QJsonObject& cycles);

class ScreenReporter : public QObject {
    Q_OBJECT
public:
    // `status` gives the status document, `picture` the window's picture.
    ScreenReporter(ReporterOptions options, std::function<QJsonObject()> status, std::function<QImage()> picture,
                   QObject* parent = nullptr);

    void Start();
    // Reports now, or as soon as the server takes another report.
    void Report();

signals:
    void ReportAnswered(int httpStatus);  // 0: no answer
    void PictureAnswered(int httpStatus);

private:
    QNetworkRequest requestFor(const QString& path, const QByteArray& type) const;
    void sendReport();
    void askWhetherFeed();
    void onFeedAnswer(QNetworkReply* reply);
    void sendPicture();
    void onReportAnswer(QNetworkReply* reply);
    void onPictureAnswer(QNetworkReply* reply);
    // One log line when the outcome of reports (or of pictures) changes.
    void note(QString& last, const QString& what, const QString& problem);

    ReporterOptions m_options;
    std::function<QJsonObject()> m_status;
    std::function<QImage()> m_picture;
    QNetworkAccessManager m_network;
    QTimer m_nextReport;  // single shot: the next report is due
    QTimer m_pictureTimer;
    QNetworkReply* m_reportReply = nullptr;
    QNetworkReply* m_pictureReply = nullptr;
    bool m_reportAgain = false;  // asked for while one was on its way
    bool m_confirmed = false;    // the site is a caltrix-feed (or was named as one)
    bool m_pictureFirst = true;  // the first good report brings the first picture
    std::chrono::steady_clock::time_point m_lastReport{};
    std::chrono::steady_clock::time_point m_started = std::chrono::steady_clock::now();
    QString m_reportOutcome;
    QString m_pictureOutcome;
};

}  // namespace caltrix
