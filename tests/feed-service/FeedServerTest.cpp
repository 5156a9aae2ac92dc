#include "feed/service/FeedService.h"
#include "feed/service/LocalConfigFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>

namespace caltrix::feed {
namespace {

struct Answer {
    int status = 0;
    QByteArray body;
};

Answer Get(const QUrl& url) {
    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(QNetworkRequest(url));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    EXPECT_TRUE(finished.wait(5000)) << url.toString().toStdString();
    reply->deleteLater();
    return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(FeedServer, ServesTheLocalConfigurationAsItIsNowAndNothingOutsideIt) {
    testing::TempFolder root;
    const QString folder = root.qtPath(QStringLiteral("public"));
    ASSERT_TRUE(QDir().mkpath(folder));
    Write(folder + QStringLiteral("/config.txt"), "01=SERIEA;\r\n13=Rules:%ENDPOINT%/public/rules.htm\r\n");
    Write(folder + QStringLiteral("/banner1.htm"), "<p>banner</p>");
    Write(root.qtPath(QStringLiteral("secret.txt")), "not served");
    QFile::link(root.qtPath(QStringLiteral("secret.txt")), folder + QStringLiteral("/linked.txt"));
    Write(folder + QStringLiteral("/big.htm"), QByteArray(LocalConfigFolder::kMaxFileBytes + 1, 'x'));

    FeedSettings settings;
    settings.localConfig = folder;
    QUrl endpoint, site(QStringLiteral("http://scores.example"));
    const auto service = StartEmbeddedFeed(settings, false, false, endpoint, site);
    ASSERT_TRUE(service);
    EXPECT_EQ(site, QUrl(QStringLiteral("http://scores.example")));  // no feed: the site stays
    const QString base = endpoint.toString();

    EXPECT_EQ(Get(base + QStringLiteral("/public/config.txt")).body,
              "01=SERIEA;\r\n13=Rules:" + base.toLatin1() + "/public/rules.htm\r\n");
    EXPECT_EQ(Get(base + QStringLiteral("/public/banner1.htm")).body, "<p>banner</p>");
    Write(folder + QStringLiteral("/config.txt"), "01=LALIGA;\r\n");  // read at each request
    EXPECT_EQ(Get(base + QStringLiteral("/public/config.txt")).body, "01=LALIGA;\r\n");

    for (const char* path :
         {"/public/..%2Fsecret.txt", "/public/linked.txt", "/public/big.htm", "/public/.hidden", "/public/missing.htm"})
        EXPECT_EQ(Get(base + QLatin1String(path)).status, 404) << path;
    EXPECT_EQ(Get(base + QStringLiteral("/default.dll?page=soccer")).status, 503);  // no source of matches
}

TEST(FeedServer, ServesTheJsonSourcesMatchesAsThePageAndAConfigurationWhenNoneIsGiven) {
    testing::TempFolder root;
    const QString file = root.qtPath(QStringLiteral("matches.json"));
    Write(file, R"({"competitions": [{"area": "Scotland", "name": "Premiership", "matches": [
        {"kickoff": "2026-12-07T15:00:00Z", "state": "finished", "home": "Hearts", "away": "Hibernian",
         "score": {"home": 2, "away": 2}, "halfTime": {"home": 1, "away": 0}}]}]})");
    FeedSettings settings;
    settings.kind = FeedKind::Json;
    settings.url = file;
    QUrl endpoint, site;
    const auto service = StartEmbeddedFeed(settings, false, false, endpoint, site);
    ASSERT_TRUE(service);
    QByteArray page;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        page = Get(site.toString() + QStringLiteral("/default.dll?page=soccer")).body;
        return page.contains("Hibernian");
    }));
    EXPECT_TRUE(page.contains("Scotland - Premiership")) << page.toStdString();
    EXPECT_TRUE(page.contains("2 - 2"));
    const QByteArray status = Get(site.toString() + QStringLiteral("/feed/status")).body;
    EXPECT_TRUE(status.contains("\"source\": \"json\"")) << status.toStdString();
    EXPECT_EQ(endpoint, site);
    const QByteArray config = Get(endpoint.toString() + QStringLiteral("/public/config.txt")).body;
    EXPECT_TRUE(config.startsWith("01=<SCOTLAND-PREMIERSHIP>;\r\n")) << config.toStdString();
    EXPECT_TRUE(config.contains("\r\n12=Live results from " + file.toLatin1() + "\r\n"));
}

}  // namespace
}  // namespace caltrix::feed

namespace caltrix::feed {
namespace {

using namespace std::chrono_literals;

// Reads what the stream sends until `text` has come.
bool awaitText(QTcpSocket& socket, QByteArray& received, const QByteArray& text) {
    return QTest::qWaitFor([&] { return (received += socket.readAll()).contains(text); }, 3000);
}

const std::string kConfig = "01=A;\r\n13=Rules:%ENDPOINT%/public/rules.htm\r\n";

class FeedServerEvents : public ::testing::Test {
protected:
    FeedServerEvents() : m_server(nullptr, {.streamBeat = 200ms}) {
        m_server.Publish({"page 1", kConfig, "{}"}, std::chrono::system_clock::now());
        EXPECT_TRUE(m_server.Listen(QHostAddress::LocalHost, 0));
    }
    void Subscribe(QTcpSocket& socket, const QByteArray& lastEventId = {}) {
        socket.connectToHost(QHostAddress::LocalHost, m_server.BaseUrl().port());
        ASSERT_TRUE(socket.waitForConnected(2000));
        socket.write("GET /feed/events HTTP/1.1\r\nHost: x\r\n" +
                     (lastEventId.isEmpty() ? QByteArray() : "Last-Event-ID: " + lastEventId + "\r\n") + "\r\n");
    }
    QByteArray Id() const { return QByteArray::number(qint64(m_server.Versions().Latest())); }

    FeedServer m_server;
};

TEST_F(FeedServerEvents, StreamTheCurrentVersionThenEachNewOneAndBeats) {
    QTcpSocket first;
    Subscribe(first);
    QByteArray received;
    ASSERT_TRUE(awaitText(first, received, "id: " + Id() + "\n")) << received.toStdString();
    for (const char* header :
         {"Content-Type: text/event-stream\r\n", "Cache-Control: no-store\r\n", "X-Accel-Buffering: no\r\n"})
        EXPECT_TRUE(received.contains(header)) << header;
    EXPECT_TRUE(received.contains("event: page\n"));

    EXPECT_FALSE(m_server.Publish({"page 1", kConfig, "{\"later\": 1}"}, std::chrono::system_clock::now()))
        << "the same bytes are the same version";
    ASSERT_TRUE(m_server.Publish({"page 2", kConfig, "{}"}, std::chrono::system_clock::now()));
    EXPECT_TRUE(awaitText(first, received, "id: " + Id() + "\n")) << received.toStdString();
    received.clear();
    EXPECT_TRUE(awaitText(first, received, ": keep-alive\n\n"));

    QTcpSocket current;
    Subscribe(current, Id());
    QByteArray resumed;
    ASSERT_TRUE(awaitText(current, resumed, "\r\n\r\n"));
    EXPECT_TRUE(awaitText(current, resumed, ": keep-alive\n\n"));
    EXPECT_FALSE(resumed.contains("event: page")) << "a client with the latest id gets no repeat";
    EXPECT_EQ(m_server.OpenEventStreams(), 2);
    first.abort();
    current.abort();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_server.OpenEventStreams() == 0; }, 3000));
}

TEST_F(FeedServerEvents, AnswersAVersionOrANewerOneNeverAnOlder) {
    const QString page = m_server.BaseUrl().toString() + QStringLiteral("/default.dll?page=soccer");
    const QByteArray latest = Id();
    EXPECT_EQ(Get(page).body, "page 1");
    EXPECT_EQ(Get(page + "&v=" + latest).body, "page 1");
    m_server.Publish({"page 2", kConfig, "{}"}, std::chrono::system_clock::now());
    EXPECT_EQ(Get(page + "&v=" + latest).body, "page 2") << "a newer version answers an older one's address";
    EXPECT_EQ(Get(page + "&v=" + Id()).body, "page 2");
    EXPECT_EQ(Get(page + "&v=" + QByteArray::number(Id().toLongLong() + 1)).status, 404);
    EXPECT_EQ(Get(page + "&v=x").status, 400);
}

TEST_F(FeedServerEvents, NamesItsOwnAddressForAHostThatIsNoHostAndPort) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_server.BaseUrl().port());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write("GET /x HTTP/1.1\r\nHost: x/public/config.txt?\r\n\r\n");
    QByteArray answer;
    ASSERT_TRUE(awaitText(socket, answer, "\r\n\r\n"));
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 404 ")) << answer.toStdString();

    QByteArray config;
    socket.write("GET /public/config.txt HTTP/1.1\r\nHost: x\"/evil\r\n\r\n");
    ASSERT_TRUE(awaitText(socket, config, "rules.htm"));
    EXPECT_TRUE(config.contains("13=Rules:" + m_server.BaseUrl().toString().toLatin1() + "/public/rules.htm"))
        << config.toStdString();
}

}  // namespace
}  // namespace caltrix::feed
