#include "app/shell/BrowserViews.h"

#include "acquisition/qt/AcquisitionProfile.h"
#include "app/widgets/Twips.h"

#include "app/logging/AppLogging.h"
#include "common/qt/TimeScale.h"

#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>

namespace caltrix {

QWebEngineProfile* SharedProfile() {
    static QWebEngineProfile* profile = NewOffTheRecordProfile();
    return profile;
}

namespace {

// Pages are shrunk with the rest of the design. The engine resets a page's
// zoom when it loads from another site, so it is set again after each load.
constexpr double kSmallestZoom = 0.25;  // the engine refuses a smaller zoom

void keepLayoutZoom(QWebEnginePage* page) {
    const double zoom = std::max(LayoutScale(), kSmallestZoom);
    if (zoom == 1.0) return;
    page->setZoomFactor(zoom);
    QObject::connect(page, &QWebEnginePage::loadFinished, page, [page, zoom] {
        if (page->zoomFactor() != zoom) page->setZoomFactor(zoom);
    });
}

}  // namespace

QWebEngineView* CreateBrowserView(QWidget* parent) {
    auto* view = new QWebEngineView(parent);
    auto* page = new QWebEnginePage(SharedProfile(), view);
    view->setPage(page);
    new RendererRestarter(page);
    keepLayoutZoom(page);
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
    ++s_endedRenderers;
    const bool soonAgain = m_lastReload.isValid() && m_lastReload.elapsed() < ScaledMilliseconds(kMaxPauseMs);
    m_pauseMs = soonAgain ? std::min(2 * m_pauseMs, kMaxPauseMs) : kFirstPauseMs;
    m_reload.start(ScaledMilliseconds(m_pauseMs));
    qCWarning(lcShell).nospace() << "renderer process of " << m_page->url().toString() << " ended (status " << status
                                 << ", exit code " << exitCode << "); reloading the page in "
                                 << m_reload.interval() / 1000.0 << " s";
}

}  // namespace caltrix
