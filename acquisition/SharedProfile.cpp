#include "acquisition/SharedProfile.h"

#include "common/qt/Logging.h"
#include "common/qt/TimeScale.h"

#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>

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
    new RendererRestarter(page);
    return view;
}

RendererRestarter::RendererRestarter(QWebEnginePage* page) : QObject(page), m_page(page) {
    m_reload.setSingleShot(true);
    connect(&m_reload, &QTimer::timeout, this, [this] {
        m_lastReload.start();
        m_page->triggerAction(QWebEnginePage::Reload);
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this, &RendererRestarter::onRendererEnded);
}

void RendererRestarter::onRendererEnded(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
    // A renderer that lived longer than the longest pause since its last
    // reload starts the count again; one that dies sooner doubles the pause.
    const bool soonAgain = m_lastReload.isValid() && m_lastReload.elapsed() < ScaledMilliseconds(kMaxPauseMs);
    m_pauseMs = soonAgain ? std::min(2 * m_pauseMs, kMaxPauseMs) : kFirstPauseMs;
    m_reload.start(ScaledMilliseconds(m_pauseMs));
    qCWarning(lcShell).nospace() << "renderer process of " << m_page->url().toString() << " ended (status " << status
                                 << ", exit code " << exitCode << "); reloading the page in "
                                 << m_reload.interval() / 1000.0 << " s";
}

}  // namespace caltrix
