// The main window's browsers: one shared off-the-record profile, and views on
// it whose pages recover when their renderer process dies.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QWebEnginePage>

class QWebEngineProfile;
class QWebEngineView;
class QWidget;

namespace caltrix {

// The shared off-the-record profile, created on first use and owned by the
// application object. Every page of the program must be deleted before the
// application object.
QWebEngineProfile* SharedProfile();

// A browser view on the shared profile whose page reloads itself after a
// renderer crash and keeps the layout scale as its zoom.
QWebEngineView* CreateBrowserView(QWidget* parent);

// Reloads its page (with a log line) when the page's renderer process dies,
// so a crashed renderer does not leave a dead view for the rest of the run.
// A page that keeps killing its renderer is reloaded after a pause that
// doubles from 1 s up to 5 min (scaled by the time scale), not at once, which
// would keep a core busy. Owned by the page.
class RendererRestarter : public QObject {
    Q_OBJECT

public:
    static constexpr int kFirstPauseMs = 1000;
    static constexpr int kMaxPauseMs = 5 * 60 * 1000;

    explicit RendererRestarter(QWebEnginePage* page);
    int PauseMs() const { return m_pauseMs; }  // design value of the latest pause; 0 before any
    // Renderer processes that ended, of every page, since the program started.
    static int EndedRenderers() { return s_endedRenderers; }

private:
    void onRendererEnded(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);

    QWebEnginePage* m_page;
    QTimer m_reload;
    QElapsedTimer m_lastReload;
    int m_pauseMs = 0;
    static inline int s_endedRenderers = 0;  // the user-interface thread's only
};

}  // namespace caltrix
