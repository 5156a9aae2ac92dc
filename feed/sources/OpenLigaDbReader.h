// Reads an OpenLigaDB `/getmatchdata/<league>` answer (the league's current
// matchday, a JSON array of matches) into the match model. The API gives no
// match status: a match is finished when `matchIsFinished` says so, running
// from its kick-off on, not started before. The score is the result of type 2
// (the final, kept up to date while the match runs) or the last goal's,
// whichever counts more goals; the half-time score the result of type 1.
#pragma once

#include "feed/sources/SourceResult.h"

#include <QByteArray>

#include <chrono>

namespace caltrix::feed {

SourceResult ReadOpenLigaDb(const QByteArray& body, std::chrono::sys_seconds now);

}  // namespace caltrix::feed
