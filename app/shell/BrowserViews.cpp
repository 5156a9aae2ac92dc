#include "app/shell/BrowserViews.h"

#include "acquisition/AcquisitionProfile.h"

#include "common/qt/Logging.h"
#include "common/qt/TimeScale.h"

#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>

namespace caltrix {

QWebEngineProfile* SharedProfile() {
    static QWebEngineProfile* profile = NewOffTheRecordProfile();
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
