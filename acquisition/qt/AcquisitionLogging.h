// Logging categories of the acquisition: the update cycle (configuration,
// page, parse) and the feed server's event stream.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcCycle)
Q_DECLARE_LOGGING_CATEGORY(lcEvents)
