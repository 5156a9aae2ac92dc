// Caltrix's own match format: the match model as JSON (schema in
// data/matches.schema.json), so that any other source can feed the display.
#pragma once

#include "feed/sources/SourceResult.h"

#include <QByteArray>

namespace caltrix::feed {

SourceResult ReadMatchJson(const QByteArray& body);
QByteArray WriteMatchJson(const MatchModel& model);

}  // namespace caltrix::feed
