// Reads a provider's error answer (an HTTP status other than 2xx): the
// refusal it stands for and the provider's own message.
#pragma once

#include "feed/sources/SourceResult.h"

#include <QByteArray>

namespace caltrix::feed {

// No model; the refusal and one line "key refused (HTTP 400): "Your API token
// is invalid."". football-data.org answers 403 for a restricted resource (one
// outside the key's plan) and names the token in the message when it refuses
// the key (400 or 403); 401 is a missing or wrong key anywhere; 429 too many
// calls. The message is the body's `message`, `error` or `errors`, or else
// its text. Without `keySent` (a source that needs no key) only the status
// and the message are told.
SourceResult ReadErrorAnswer(int httpStatus, const QByteArray& body, bool keySent);

}  // namespace caltrix::feed
