// Clients that try to wear the server down: one that never reads its
// answers, and many that never finish their heads, under a low descriptor
// limit. The figures these cases reach are measured by
// scripts/measure_feed_hostile.py; here they only must not break the server.
#include "feed/service/HttpServer.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTest>

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>
#include <vector>

namespace caltrix::feed {
namespace {

using namespace std::chrono_literals;

long residentKilobytes(const QString& statusFile = QStringLiteral("/proc/self/status")) {
    QFile file(statusFile);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// A raw socket: Qt's would keep in this process what the kernel does not take.
int connectRaw(quint16 port, int receiveBuffer = 0) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool answered(quint16 port, const QByteArray& request = "GET /small HTTP/1.1\r\nHost: x\r\n\r\n") {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(2000)) return false;
    socket.write(request);
    QByteArray answer;
    (void)QTest::qWaitFor([&] { return (answer += socket.readAll()).contains("\r\n\r\n"); }, 3000);
    return answer.startsWith("HTTP/1.1 200 ");
}

TEST(HostileClients, AClientThatNeverReadsHoldsNoMoreThanItsAnswerWhileOthersAreAnswered) {
    HttpServer server;
    const std::string big(256 * 1024, 'x');
    server.AddRoute({"/big", {"GET"}, 0, [&big](const HttpRequest&) { return TextAnswer(200, big); }});
    server.AddRoute({"/small", {"GET"}, 0, [](const HttpRequest&) { return TextAnswer(200, "ok\n"); }});
    const quint16 port = server.Listen("127.0.0.1", 0);
    ASSERT_NE(port, 0);
    ASSERT_TRUE(answered(port));

    const int greedy = connectRaw(port, 4096);
    ASSERT_GE(greedy, 0);
    fcntl(greedy, F_SETFL, O_NONBLOCK);
    const std::string requests = [] {
        std::string text;
        while (text.size() < 12 * 1024 * 1024) text += "GET /big HTTP/1.1\r\nHost: x\r\n\r\n";
        return text;
    }();
    const long before = residentKilobytes();
    std::size_t sent = 0;
    for (int round = 0; round < 40 && sent < requests.size(); ++round) {
        const ssize_t written = send(greedy, requests.data() + sent, requests.size() - sent, MSG_NOSIGNAL);
        if (written > 0) sent += static_cast<std::size_t>(written);
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_LT(sent, requests.size()) << "the server stops reading a client that does not read";
    EXPECT_TRUE(answered(port));
    EXPECT_LT(residentKilobytes() - before, 8 * 1024) << "kilobytes grown";
    close(greedy);
}

long cpuTicks(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = file.readAll().split(')').value(1).split(' ');
    return fields.value(12).toLong() + fields.value(13).toLong();  // utime and stime
}

TEST(HostileClients, AThousandSlowHeadsAtTheDescriptorLimitNeitherSpinTheServerNorStopIt) {
    const quint16 port = caltrix::testing::FreePort();
    QProcess feed;
    feed.setChildProcessModifier([] {
        const rlimit limit{256, 256};
        setrlimit(RLIMIT_NOFILE, &limit);
    });
    feed.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    feed.start(QStringLiteral(CALTRIX_FEED_PROGRAM),
               {QStringLiteral("--demo"), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port)});
    ASSERT_TRUE(feed.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered(port, "GET /feed/status HTTP/1.1\r\nHost: x\r\n\r\n"); }, 5000));

    std::vector<int> slow;
    for (int i = 0; i < 1000; ++i) {
        const int fd = connectRaw(port);
        if (fd < 0) continue;
        fcntl(fd, F_SETFL, O_NONBLOCK);
        send(fd, "GET /feed/status HTTP/1.1\r\nX-", 29, MSG_NOSIGNAL);
        slow.push_back(fd);
    }
    const long ticksBefore = cpuTicks(feed.processId());
    std::this_thread::sleep_for(2s);
    const long ticks = cpuTicks(feed.processId()) - ticksBefore;
    EXPECT_LT(ticks, sysconf(_SC_CLK_TCK)) << "CPU ticks in 2 s: under half a core";
    EXPECT_TRUE(answered(port, "GET /feed/status HTTP/1.1\r\nHost: x\r\n\r\n")) << "a new client makes room at the cap";
    for (const int fd : slow) close(fd);
    feed.terminate();
    feed.waitForFinished();
}

}  // namespace
}  // namespace caltrix::feed
