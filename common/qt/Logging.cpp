#include "common/qt/Logging.h"

Q_LOGGING_CATEGORY(lcCycle, "caltrix.cycle")
Q_LOGGING_CATEGORY(lcDisplay, "caltrix.display")
Q_LOGGING_CATEGORY(lcShell, "caltrix.shell")
Q_LOGGING_CATEGORY(lcEvents, "caltrix.events")
