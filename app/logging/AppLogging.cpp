#include "app/logging/AppLogging.h"

Q_LOGGING_CATEGORY(lcShell, "caltrix.shell")
