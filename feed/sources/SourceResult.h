// What a source reader makes of one response body.
#pragma once

#include "feed/model/MatchModel.h"

#include <optional>
#include <string>
#include <vector>

namespace caltrix::feed {

struct SourceResult {
    std::optional<MatchModel> model;           // set when the body was usable
    std::string error;                         // one line saying why not; empty when usable
    std::vector<std::string> unknownStatuses;  // provider status values not known, each once
};

}  // namespace caltrix::feed
