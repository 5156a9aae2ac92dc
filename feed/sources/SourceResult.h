// What a source reader makes of one response body.
#pragma once

#include "feed/model/MatchModel.h"

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

// Adds one answer of a poll that makes several requests to `poll`: its
// competitions after those before and its unknown statuses. The first answer
// without a model leaves the poll without one, with that answer's error.
inline void AddAnswer(SourceResult& poll, SourceResult answer) {
    if (!poll.error.empty()) return;
    poll.unknownStatuses.insert(poll.unknownStatuses.end(), answer.unknownStatuses.begin(),
                                answer.unknownStatuses.end());
    if (!answer.model) {
        poll.model.reset();
        poll.error = std::move(answer.error);
        poll.refusal = answer.refusal;
        return;
    }
    if (!poll.model) poll.model.emplace();
    for (Competition& competition : answer.model->competitions)
        poll.model->competitions.push_back(std::move(competition));
}

}  // namespace caltrix::feed
