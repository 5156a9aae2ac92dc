// Reads an API-Football v3 `/fixtures` response into the match model. A
// non-empty `errors` object or array (how this provider refuses a request,
// with HTTP 200) gives no model, the refusal named by its member (`token` or
// `access`: the key; `plan`: outside the plan; `requests`: the day's calls
// used up; `rateLimit`: too many a minute) and the provider's message.
#pragma once

#include "feed/sources/SourceResult.h"

#include <QByteArray>

namespace caltrix::feed {

SourceResult ReadApiFootball(const QByteArray& body);

}  // namespace caltrix::feed
