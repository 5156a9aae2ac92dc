// Measures the memory of the whole process tree (this program and the
// browser engine's helper processes) with the program's five browsers open
// on the shared profile: the acquisition page on the live-score site, the
// main browser on a local file, three banners on the operator's endpoint.
// Prints RSS and PSS summed from /proc. Engine flags come from
// QTWEBENGINE_CHROMIUM_FLAGS. Usage: caltrix-browser-memory [seconds = 5]
#include "acquisition/measurement/ProcessMemory.h"
#include "acquisition/measurement/ToolPages.h"
#include "app/shell/BrowserViews.h"
#include "common/FileNames.h"
#include "common/WebAddresses.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The process with `pid` and all its descendants.
std::set<int> ProcessTree(int pid) {
    std::set<int> tree{pid};
    for (bool grew = true; grew;) {
        grew = false;
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool isPid = false;
            const int child = entry.toInt(&isPid);
            if (!isPid || tree.count(child)) continue;
            std::ifstream stat("/proc/" + entry.toStdString() + "/stat");
            std::string line;
            std::getline(stat, line);
            const auto close = line.rfind(')');
            if (close == std::string::npos) continue;
            std::istringstream rest(line.substr(close + 2));
            char state = 0;
            int parent = 0;
            rest >> state >> parent;
            if (tree.count(parent)) grew = tree.insert(child).second || grew;
        }
    }
    return tree;
}

void Wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = app.arguments().size() > 1 ? app.arguments().at(1).toInt() : 5;

    const QByteArray banner =
        "<html><body style='background:#036'><marquee>Banner</marquee><img src=x.png></body></html>";
    const QString bannerPage = QLatin1StringView(caltrix::kPublicFolder) + QLatin1StringView(caltrix::kBannerPageName);
    const QString ballPage = QLatin1StringView(caltrix::kPublicFolder) + QLatin1StringView(caltrix::kBallPageName);
    const QString scorePage = QLatin1StringView(caltrix::kScorePagePath);
    caltrix::tools::PageServer server(
        {{bannerPage, banner}, {ballPage, banner}, {scorePage, caltrix::tools::LiveScorePage(500 * 1024)}});
    QTemporaryDir folder;
    QFile start(folder.filePath(QLatin1StringView(caltrix::kStartPageName)));
    start.open(QIODevice::WriteOnly);
    start.write("<html><body><font face=\"Verdana\">Lumetra 0.1 Beta<p>Start page</p></body></html>");
    start.close();

    std::vector<std::unique_ptr<QWebEngineView>> views;
    const QUrl endpoint = server.Url(QStringLiteral("localhost"));
    const QUrl pages[] = {
        server.Url().resolved(QUrl(scorePage + QLatin1Char('?') + QLatin1StringView(caltrix::kScorePageQuery))),
        QUrl::fromLocalFile(start.fileName()), endpoint.resolved(QUrl(bannerPage)), endpoint.resolved(QUrl(bannerPage)),
        endpoint.resolved(QUrl(ballPage))};
    for (const QUrl& page : pages) {
        views.emplace_back(caltrix::CreateBrowserView(nullptr));
        views.back()->resize(400, 300);
        views.back()->show();
        views.back()->setUrl(page);
    }
    Wait(seconds * 1000);

    long rss = 0;
    long pss = 0;
    const std::set<int> tree = ProcessTree(static_cast<int>(QCoreApplication::applicationPid()));
    for (const int pid : tree) {
        rss += caltrix::tools::RollupKb(pid, "Rss:");
        pss += caltrix::tools::RollupKb(pid, "Pss:");
    }
    std::printf("flags \"%s\": %zu processes, RSS %ld MB, PSS %ld MB\n",
                qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").constData(), tree.size(), rss / 1024, pss / 1024);
    views.clear();
    return 0;
}
