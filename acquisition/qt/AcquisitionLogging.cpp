#include "acquisition/qt/AcquisitionLogging.h"

Q_LOGGING_CATEGORY(lcCycle, "caltrix.cycle")
Q_LOGGING_CATEGORY(lcEvents, "caltrix.events")
