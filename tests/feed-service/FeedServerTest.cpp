#include "feed/service/FeedService.h"
#include "feed/service/LocalConfigFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
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
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("public"));
    ASSERT_TRUE(QDir().mkpath(folder));
    Write(folder + QStringLiteral("/config.txt"), "01=SERIEA;\r\n13=Rules:%ENDPOINT%/public/rules.htm\r\n");
    Write(folder + QStringLiteral("/banner1.htm"), "<p>banner</p>");
    Write(root.filePath(QStringLiteral("secret.txt")), "not served");
    QFile::link(root.filePath(QStringLiteral("secret.txt")), folder + QStringLiteral("/linked.txt"));
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
    QTemporaryDir root;
    const QString file = root.filePath(QStringLiteral("matches.json"));
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
