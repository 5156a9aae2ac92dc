// Pages and a local HTTP server for the measurement programs.
#pragma once

#include <QByteArray>
#include <QHttpServer>
#include <QString>
#include <QThread>
#include <QUrl>

#include <map>
#include <memory>

namespace caltrix::tools {

// A live-score page of about `bytes` bytes: competitions of twenty matches,
// one table cell per line.
inline QByteArray LiveScorePage(qsizetype bytes) {
    QByteArray page = "<html><head><title>Soccer</title></head><body><table>\n";
    for (int competition = 1; page.size() < bytes; ++competition) {
        page += "<tr>\n<td class=\"title\" colspan=\"4\">Country" + QByteArray::number(competition) +
                " - League</td>\n</tr>\n";
        for (int match = 0; match < 20; ++match) {
            page += "<tr>\n<td>" + QByteArray::number(10 + match * 4) + "'</td>\n<td>Home team " +
                    QByteArray::number(match) + "</td>\n<td>1 - 0</td>\n<td>Away team " + QByteArray::number(match) +
                    "</td>\n</tr>\n";
        }
    }
    return page + "</table></body></html>\n";
}

// Serves fixed bodies by path on 127.0.0.1 (any query is ignored).
class PageServer {
public:
    explicit PageServer(std::map<QString, QByteArray> pages) : m_pages(std::move(pages)) {
        m_server.route(QStringLiteral(".*"), [this](const QHttpServerRequest& request) {
            const auto page = m_pages.find(request.url().path());
            if (page == m_pages.end()) return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
            return QHttpServerResponse(QByteArray("text/html"), page->second);
        });
        m_port = m_server.listen(QHostAddress::LocalHost);
    }
    QUrl Url(const QString& host = QStringLiteral("127.0.0.1")) const {
        return QUrl(QStringLiteral("http://%1:%2").arg(host).arg(m_port));
    }

private:
    std::map<QString, QByteArray> m_pages;
    QHttpServer m_server;
    quint16 m_port = 0;
};

// A PageServer on a thread of its own, as a real site runs elsewhere: what
// serving a large page costs does not count as the measured program's work.
class PageServerThread {
public:
    explicit PageServerThread(std::map<QString, QByteArray> pages) {
        m_thread.start();
        m_context.moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            &m_context, [&] { m_server = std::make_unique<PageServer>(std::move(pages)); },
            Qt::BlockingQueuedConnection);
    }
    ~PageServerThread() {
        QMetaObject::invokeMethod(
            &m_context, [this] { m_server.reset(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    QUrl Url() const { return m_server->Url(); }

private:
    QThread m_thread;
    QObject m_context;
    std::unique_ptr<PageServer> m_server;
};

}  // namespace caltrix::tools
