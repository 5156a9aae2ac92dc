// Logging categories of the program; messages go to stderr (and the journal
// when run as a service).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcCycle)    // update cycle, configuration, parsing
Q_DECLARE_LOGGING_CATEGORY(lcDisplay)  // slot files, rotation, panels
Q_DECLARE_LOGGING_CATEGORY(lcShell)    // start-up, windows, browsers
Q_DECLARE_LOGGING_CATEGORY(lcEvents)   // the feed server's event stream
