// Logging category of the live match data: polling, serving, faults.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcFeed)
