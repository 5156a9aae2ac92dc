// Reads an API-Football v3 `/fixtures` response into the match model. A
// non-empty `errors` object or array (how this provider reports a refused key,
// with HTTP 200) gives no model and the error.
#pragma once

#include "feed/sources/SourceResult.h"

#include <QByteArray>

namespace caltrix::feed {

SourceResult ReadApiFootball(const QByteArray& body);

}  // namespace caltrix::feed
