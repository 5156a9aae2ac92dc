// Browser profiles off the record: cache and cookies live in memory only, so
// nothing grows on disk while the display runs for days.
#pragma once

class QWebEngineProfile;

namespace caltrix {

// A new off-the-record profile with a 16 MiB memory cache, owned by the
// application object.
QWebEngineProfile* NewOffTheRecordProfile();

// The acquisition page's own profile, without a cache: the live-score page is
// fetched fresh every cycle. Pages of different profiles never share a
// renderer process, so the acquisition page's process (which may have held a
// page of many megabytes) ends with the page, and the visible views never
// share its memory.
QWebEngineProfile* AcquisitionProfile();

}  // namespace caltrix
