// What a source reader makes of one response body.
#pragma once

#include "app/feed/model/MatchModel.h"

#include <optional>
#include <string>
#include <vector>

namespace caltrix::feed {

// How a provider refused a request, when it says so.
enum class Refusal {
    None,
    Key,         // the key is missing, invalid or suspended
    Plan,        // the resource is outside the key's plan
    DailyLimit,  // the day's calls are used up
    RateLimit,   // too many calls in a short time
    Other
};

struct SourceResult {
    std::optional<MatchModel> model;           // set when the body was usable
    std::string error;                         // one line saying why not; empty when usable
    std::vector<std::string> unknownStatuses;  // provider status values not known, each once
    Refusal refusal = Refusal::None;
};

}  // namespace caltrix::feed
