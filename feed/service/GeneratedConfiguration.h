// The configuration served when the operator chooses none: the feed's
// competitions on the eleven slots in their order, and a ticker that says
// where the results come from. No banner or button keys, so the bundled ones
// stay.
#pragma once

#include "feed/model/MatchModel.h"

#include <QByteArray>
#include <QString>

#include <string>

namespace caltrix::feed {

// The selection fragment (Windows-1252) that selects `competition`'s header
// and no other: its whole bracketed title as the result files hold it,
// spaces removed (up to a ";" in it, which a fragment cannot hold).
std::string SelectionFragment(const Competition& competition);

// config.txt (Windows-1252, CR LF line ends): slots 1-8 and 9-11 get one
// competition each, repeated from the first when there are fewer than
// eleven; without a model (no good poll yet) every slot is empty. The ticker
// reads "Live results from <origin>".
QByteArray GeneratedConfiguration(const MatchModel* model, const QString& origin);

}  // namespace caltrix::feed
