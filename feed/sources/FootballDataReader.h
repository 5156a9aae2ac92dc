// Reads a football-data.org v4 `/v4/matches` response into the match model.
#pragma once

#include "feed/sources/SourceResult.h"

#include <QByteArray>

namespace caltrix::feed {

SourceResult ReadFootballData(const QByteArray& body);

}  // namespace caltrix::feed
