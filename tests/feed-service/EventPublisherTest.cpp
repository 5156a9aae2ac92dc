// Publishing the events through nginx's pub/sub module, started here on
// 127.0.0.1 with its own configuration and stopped after.
#include "feed/service/EventPublisher.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTest>

namespace caltrix::feed {
namespace {

using namespace std::chrono_literals;

constexpr const char* kNginx = "/usr/sbin/nginx";
constexpr const char* kModule = "/usr/lib/nginx/modules/ngx_nchan_module.so";

class PubSub {
public:
    explicit PubSub(quint16 port) : m_port(port) {}
    ~PubSub() {
        m_nginx.terminate();
        m_nginx.waitForFinished();
    }
    bool Start() {
        const QString prefix = m_folder.qtPath();
        QFile config(prefix + QStringLiteral("/nginx.conf"));
        if (!config.open(QIODevice::WriteOnly)) return false;
        config.write(QStringLiteral(R"(load_module %1;
daemon off;
master_process off;
error_log %2/error.log warn;
pid %2/nginx.pid;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path %2/body;
  proxy_temp_path %2/proxy;
  fastcgi_temp_path %2/fastcgi;
  uwsgi_temp_path %2/uwsgi;
  scgi_temp_path %2/scgi;
  server {
    listen 127.0.0.1:%3;
    location = /caltrix/publish { nchan_publisher; nchan_channel_id caltrix; nchan_message_buffer_length 1; }
    location = /caltrix/events { nchan_subscriber eventsource; nchan_channel_id caltrix; }
  }
}
)")
                         .arg(QLatin1String(kModule), prefix)
                         .arg(m_port)
                         .toLatin1());
        config.close();
        m_nginx.setProcessChannelMode(QProcess::ForwardedChannels);
        m_nginx.start(QLatin1String(kNginx), {QStringLiteral("-p"), prefix, QStringLiteral("-c"), config.fileName()});
        return m_nginx.waitForStarted();
    }
    QUrl At(const char* path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path)); }

private:
    quint16 m_port;
    testing::TempFolder m_folder;
    QProcess m_nginx;
};

TEST(EventPublisher, SubscribersOfThePubSubModuleGetTheEventsAndAFailedPostIsTriedAgain) {
    if (!QFile::exists(QLatin1String(kNginx)) || !QFile::exists(QLatin1String(kModule)))
        GTEST_SKIP() << "nginx with its pub/sub module is not installed";
    const quint16 port = caltrix::testing::FreePort();
    PubSub pubsub(port);
    EventPublisher publisher(pubsub.At("/caltrix/publish"), 200ms);
    const auto now = std::chrono::system_clock::now();
    const ServedVersions first{1796904000000, 1796903000000, now}, second{1796904004000, 1796903000000, now + 4s};

    publisher.Post(first);  // nginx is not there yet
    EXPECT_TRUE(QTest::qWaitFor([&] { return publisher.Failing(); }, 5000));
    ASSERT_TRUE(pubsub.Start());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !publisher.Failing(); }, 5000)) << "the latest event is posted again";

    QTcpSocket subscriber;
    subscriber.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(subscriber.waitForConnected(2000));
    subscriber.write("GET /caltrix/events HTTP/1.1\r\nHost: x\r\nAccept: text/event-stream\r\n\r\n");
    QByteArray received;
    const auto receive = [&](const ServedVersions& versions) {
        const QByteArray data = "data: " + QByteArray::fromStdString(EventData(versions)) + "\n";
        return QTest::qWaitFor([&] { return (received += subscriber.readAll()).contains(data); }, 5000);
    };
    EXPECT_TRUE(receive(first)) << received.toStdString();
    publisher.Post(second);
    EXPECT_TRUE(receive(second)) << received.toStdString();
    EXPECT_EQ(received.count("event: page\n"), 2) << received.toStdString();
}

}  // namespace
}  // namespace caltrix::feed
