#include "acquisition/SharedProfile.h"

#include "common/qt/Logging.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace caltrix {

namespace {

// A profile without a storage name is off the record: cache and cookies live
// in memory only.
QWebEngineProfile* newOffTheRecordProfile() {
    auto* created = new QWebEngineProfile(QCoreApplication::instance());
    created->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    created->setHttpCacheMaximumSize(16 * 1024 * 1024);
    created->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    return created;
}

}  // namespace

QWebEngineProfile* SharedProfile() {
    static QWebEngineProfile* profile = newOffTheRecordProfile();
    return profile;
}

QWebEngineProfile* AcquisitionProfile() {
    // The live-score page is fetched fresh every cycle: nothing to cache.
    static QWebEngineProfile* profile = [] {
        QWebEngineProfile* created = newOffTheRecordProfile();
        created->setHttpCacheType(QWebEngineProfile::NoCache);
        return created;
    }();
    return profile;
}

QWebEngineView* CreateBrowserView(QWidget* parent) {
    auto* view = new QWebEngineView(parent);
    auto* page = new QWebEnginePage(SharedProfile(), view);
    view->setPage(page);
    ReloadAfterRendererCrash(page);
    return view;
}

void ReloadAfterRendererCrash(QWebEnginePage* page) {
    QObject::connect(page, &QWebEnginePage::renderProcessTerminated, page,
                     [page](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                         qCWarning(lcShell) << "renderer process of" << page->url().toString()
                                            << "ended (status" << status << ", exit code" << exitCode
                                            << "); reloading the page";
                         // Reload once the engine has finished handling the
                         // termination; a new renderer process is started.
                         QTimer::singleShot(0, page, [page] { page->triggerAction(QWebEnginePage::Reload); });
                     });
}

}  // namespace caltrix
