#include "acquisition/qt/HttpDownloader.h"

#include "tests/support/TestHttpServer.h"
#include "common/qt/TimeScale.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace caltrix {
namespace {

using testing::Answer;
using testing::HttpAnswer;

constexpr qint64 kCap = 1000;

class HttpDownloaderTest : public ::testing::Test {
protected:
    void SetUp() override { SetTimeScale(0.1); }  // the 20 s time-out becomes 2 s
    void TearDown() override { SetTimeScale(1.0); }
    QUrl At(const char* target) const { return m_server.BaseUrl().resolved(QUrl(QString::fromLatin1(target))); }

    testing::TestHttpServer m_server;
    HttpDownloader m_inet1;
};

TEST_F(HttpDownloaderTest, ReturnsTheBodyBytesUnchanged) {
    const QByteArray body("01=SERIE A;\r\n\x80\xff\0end", 17);
    m_server.Serve(QStringLiteral("/public/config.txt"), Answer(200, body, "text/plain"));
    EXPECT_EQ(m_inet1.Download(At("/public/config.txt"), kCap), body);
    m_server.Serve(QStringLiteral("/empty"), Answer(200, {}, "text/plain"));
    EXPECT_TRUE(m_inet1.Download(At("/empty"), kCap).isEmpty());
}

TEST_F(HttpDownloaderTest, FailsOnHttpErrorsClosedConnectionsTimeOutsAndNoServer) {
    m_server.Serve(QStringLiteral("/500"), Answer(500, "oops"));
    HttpAnswer slow = Answer(200, "late");
    slow.delayMs = 4000;
    m_server.Serve(QStringLiteral("/slow"), slow);
    HttpAnswer closed;
    closed.closeWithoutAnswer = true;
    m_server.Serve(QStringLiteral("/closed"), closed);
    for (const char* target : {"/500", "/missing", "/slow", "/closed"})
        EXPECT_THROW(m_inet1.Download(At(target), kCap), DownloadError) << target;
    const QUrl address = At("/500");
    m_server.Close();  // and when no server listens
    EXPECT_THROW(m_inet1.Download(address, kCap), DownloadError);
}

TEST_F(HttpDownloaderTest, RefusesABodyOverTheCapAnnouncedOrNot) {
    m_server.Serve(QStringLiteral("/at-cap"), Answer(200, QByteArray(kCap, 'x'), "text/plain"));
    EXPECT_EQ(m_inet1.Download(At("/at-cap"), kCap).size(), kCap);
    m_server.Serve(QStringLiteral("/over"), Answer(200, QByteArray(kCap + 1, 'x'), "text/plain"));
    HttpAnswer unannounced = Answer(200, QByteArray(64 * kCap, 'x'), "text/plain");
    unannounced.withoutLength = true;
    m_server.Serve(QStringLiteral("/unannounced"), unannounced);
    for (const char* target : {"/over", "/unannounced"})
        EXPECT_THROW(m_inet1.Download(At(target), kCap), DownloadError) << target;
}

TEST_F(HttpDownloaderTest, FollowsRedirectsOnlyOnTheSameScheme) {
    HttpAnswer moved = Answer(302, {});
    moved.headers = {{"Location", "/public/new.txt"}};
    m_server.Serve(QStringLiteral("/public/old.txt"), moved);
    m_server.Serve(QStringLiteral("/public/new.txt"), Answer(200, "moved here", "text/plain"));
    EXPECT_EQ(m_inet1.Download(At("/public/old.txt"), kCap), "moved here");

    for (const char* target : {"https://127.0.0.1:1/x", "file:///etc/passwd"}) {
        HttpAnswer away = Answer(302, {});
        away.headers = {{"Location", target}};
        m_server.Serve(QStringLiteral("/away"), away);
        EXPECT_THROW(m_inet1.Download(At("/away"), kCap), DownloadError) << target;
    }
}

TEST_F(HttpDownloaderTest, KeepsServingEventsWhileWaiting) {
    HttpAnswer slow = Answer(200, "body");
    slow.delayMs = 100;
    m_server.Serve(QStringLiteral("/slowish"), slow);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    EXPECT_EQ(m_inet1.Download(At("/slowish"), kCap), "body");
    EXPECT_GE(ticks, 3);
}

}  // namespace
}  // namespace caltrix
