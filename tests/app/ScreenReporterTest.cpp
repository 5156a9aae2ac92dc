#include "app/report/ScreenReporter.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

namespace caltrix {
namespace {

using testing::Answer;

const QString kReport = QStringLiteral("/feed/screens/bar-1");
const QString kStatus = QStringLiteral("/feed/status");

// A feed server on 127.0.0.1 that records what it is sent.
struct FeedStandIn {
    FeedStandIn() {
        server.Serve(kStatus, Answer(200, R"({"source":"demo"})", "application/json"));
        server.Serve(kReport, Answer(200, R"({"picture":false})", "application/json"));
        server.Serve(kReport + QStringLiteral("/picture"), Answer(200, "taken", "text/plain"));
    }
    void NotAFeed() { server.Serve(kStatus, Answer(404, "no", "text/plain")); }
    void AskPicture() { server.ServeOnce(kReport, Answer(200, R"({"picture":true})", "application/json")); }
    ReporterOptions options(bool confirmFeed) const {
        return {server.BaseUrl(), QStringLiteral("bar-1"), "secret", std::chrono::seconds(0), confirmFeed};
    }
    // Each request's path, marked when it carried the token.
    std::vector<QString> seen() const {
        std::vector<QString> paths;
        for (const testing::HttpRequest& request : server.Requests())
            paths.push_back(request.Url().path() + (request.Header("Authorization").isEmpty() ? "" : " with token"));
        return paths;
    }
    int count(const QString& entry) const { return static_cast<int>(std::ranges::count(seen(), entry)); }

    testing::TestHttpServer server;
};

QImage window() { return QImage(800, 600, QImage::Format_RGB32); }

TEST(ScreenReporter, SendsAtMostAReportASecondAndAPictureWhenAsked) {
    FeedStandIn feed;
    feed.AskPicture();
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
    site.NotAFeed();
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
    EXPECT_EQ(site.seen(), std::vector<QString>{"/feed/status"}) << "asked once, without the token, and sent nothing";
}

// Noise compresses worst: the quality, then the size, come down until it fits.
TEST(ScreenReporter, NoisyWindowPictureFitsTheCapAtAboutTheWidth) {
    QImage noisy(1920, 1080, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x) noisy.setPixel(x, y, random.generate());
    const QByteArray jpeg = JpegPicture(noisy);
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_LE(std::size_t(jpeg.size()), kMaxPictureBytes);
    const QImage read = QImage::fromData(jpeg, "JPG");
    EXPECT_LE(read.width(), kPictureWidth);
    EXPECT_GE(read.width(), kPictureWidth / 2);
}

}  // namespace
}  // namespace caltrix
