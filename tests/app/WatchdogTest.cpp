#include "app/service/Watchdog.h"
#include "tests/support/TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace caltrix {
namespace {

// Plays systemd's side: a datagram socket named by NOTIFY_SOCKET.
class NotifySocket {
public:
    explicit NotifySocket(const QString& path) {
        m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = path.toLocal8Bit();
        std::copy(bytes.begin(), bytes.end(), address.sun_path);
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ~NotifySocket() { ::close(m_fd); }

    std::string Received() {
        std::string all;
        char buffer[256];
        for (ssize_t n; (n = ::recv(m_fd, buffer, sizeof buffer, 0)) > 0;)
            all.append(buffer, static_cast<std::size_t>(n)) += '\n';
        return all;
    }

private:
    int m_fd = -1;
};

class WatchdogTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const char* name : {"NOTIFY_SOCKET", "WATCHDOG_USEC", "WATCHDOG_PID"}) qunsetenv(name);
    }
    testing::TempFolder dir;
};

TEST_F(WatchdogTest, ReportsReadyAndPingsAtHalfThePeriodUnderSystemd) {
    const QString path = dir.qtPath(QStringLiteral("notify"));
    NotifySocket systemd(path);
    qputenv("NOTIFY_SOCKET", path.toLocal8Bit());
    qputenv("WATCHDOG_USEC", "100000");
    qputenv("WATCHDOG_PID", QByteArray::number(::getpid()));

    Watchdog watchdog;
    watchdog.Start();
    EXPECT_TRUE(watchdog.IsPinging());
    QElapsedTimer clock;
    clock.start();
    std::string messages;
    while (clock.elapsed() < 5000 && messages.find("WATCHDOG=1") == std::string::npos) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        messages += systemd.Received();
    }
    EXPECT_NE(messages.find("READY=1"), std::string::npos);
    EXPECT_NE(messages.find("WATCHDOG=1"), std::string::npos);
}

TEST_F(WatchdogTest, DoesNothingOutsideSystemd) {
    Watchdog watchdog;
    watchdog.Start();
    EXPECT_FALSE(watchdog.IsPinging());
}

}  // namespace
}  // namespace caltrix
