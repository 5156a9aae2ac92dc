#include "display/qt/DisplayLogging.h"

Q_LOGGING_CATEGORY(lcDisplay, "caltrix.display")
