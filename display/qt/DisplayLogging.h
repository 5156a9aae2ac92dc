// Logging category of the results display: slot files, rotation, panels.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcDisplay)
