// The one browser profile of the program and the browsers made on it. The
// display runs for days, so the profile is off the record (no disk cache or
// cookies that grow) and every page recovers when its renderer process dies.
#pragma once

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;
class QWidget;

namespace caltrix {

// The shared off-the-record profile, created on first use and owned by the
// application object. Every page of the program must be deleted before the
// application object.
QWebEngineProfile* SharedProfile();

// The acquisition page's own off-the-record profile. Pages of different
// profiles never share a renderer process, so the acquisition page's process
// (which may have held a page of many megabytes) ends with the page, and the
// visible views never share its memory.
QWebEngineProfile* AcquisitionProfile();

// A browser view on the shared profile whose page reloads itself after a
// renderer crash.
QWebEngineView* CreateBrowserView(QWidget* parent);

// Makes `page` reload (with a log line) when its renderer process dies, so a
// crashed renderer does not leave a dead view for the rest of the run.
void ReloadAfterRendererCrash(QWebEnginePage* page);

}  // namespace caltrix
