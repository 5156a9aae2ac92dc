// Logging category of the display program's shell: start-up, windows,
// browsers, the status file, reports and the service watchdog. Messages go to
// stderr (and the journal when run as a service).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcShell)
