#include "app/report/ScreenReporter.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QRandomGenerator>
#include <QTest>

namespace caltrix {
namespace {

// A feed server on 127.0.0.1 that records what it is sent.
struct FeedStandIn {
    FeedStandIn() {
        server.route(QStringLiteral("/<arg>"), [this](const QUrl&, const QHttpServerRequest& request) {
            const QString path = request.url().path();
            seen.push_back(path + (request.value("Authorization").isEmpty() ? "" : " with token"));
            if (path == QLatin1String("/feed/status"))
                return QHttpServerResponse(
                    isFeed ? QByteArray(R"({"source":"demo"})") : QByteArray("no"),
                    isFeed ? QHttpServerResponse::StatusCode::Ok : QHttpServerResponse::StatusCode::NotFound);
            if (path.endsWith(QLatin1String("/picture"))) return QHttpServerResponse(QByteArray("taken"));
            return QHttpServerResponse("application/json", std::exchange(askPicture, false)
                                                               ? QByteArray(R"({"picture":true})")
                                                               : QByteArray(R"({"picture":false})"));
        });
        port = server.listen(QHostAddress::LocalHost, 0);
    }
    ReporterOptions options(bool confirmFeed) const {
        return {QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port)), QStringLiteral("bar-1"), "secret",
                std::chrono::seconds(0), confirmFeed};
    }
    int count(const QString& entry) const { return static_cast<int>(std::count(seen.begin(), seen.end(), entry)); }

    QHttpServer server;
    quint16 port = 0;
    bool isFeed = true;
    bool askPicture = false;
    std::vector<QString> seen;
};

QImage window() { return QImage(800, 600, QImage::Format_RGB32); }

TEST(ScreenReporter, SendsAtMostAReportASecondAndAPictureWhenAsked) {
    FeedStandIn feed;
    feed.askPicture = true;
    ScreenReporter reporter(
        feed.options(false),
        [] {
            return QJsonObject{{"stale", false}};
        },
        window);
    QElapsedTimer clock;
    clock.start();
    reporter.Start();
    for (int i = 0; i < 20; ++i) {
        reporter.Report();  // cycles in quick succession
        QTest::qWait(50);
    }
    QTest::qWait(800);
    // However slowly this machine ran the waits: one report, then one per 1.1 s at most.
    const int allowed = 1 + static_cast<int>(clock.elapsed() / kReportAtMostEvery.count());
    EXPECT_GE(feed.count("/feed/screens/bar-1 with token"), 1);
    EXPECT_LE(feed.count("/feed/screens/bar-1 with token"), allowed);
    EXPECT_EQ(feed.count("/feed/screens/bar-1/picture with token"), 1);
}

TEST(ScreenReporter, ReportsToTheLiveScoreSiteOnlyWhenItIsAFeedServer) {
    FeedStandIn site;
    site.isFeed = false;
    ScreenReporter reporter(
        site.options(true),
        [] {
            return QJsonObject{{"stale", false}};
        },
        window);
    reporter.Start();
    QTest::qWait(1500);
    reporter.Report();
    QTest::qWait(300);
    EXPECT_EQ(site.seen, std::vector<QString>{"/feed/status"}) << "asked once, without the token, and sent nothing";
}

// Noise compresses worst: the quality, then the size, come down until it fits.
TEST(ScreenReporter, NoisyWindowPictureFitsTheCapAtAboutTheWidth) {
    QImage noisy(1920, 1080, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x) noisy.setPixel(x, y, random.generate());
    const QByteArray jpeg = JpegPicture(noisy);
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_LE(jpeg.size(), kMaxPictureBytes);
    const QImage read = QImage::fromData(jpeg, "JPG");
    EXPECT_LE(read.width(), kPictureWidth);
    EXPECT_GE(read.width(), kPictureWidth / 2);
}

}  // namespace
}  // namespace caltrix
