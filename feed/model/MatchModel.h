// The matches of a day as the sources deliver them: competitions in the order
// the provider lists them, each with its matches.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace caltrix::feed {

enum class MatchState {
    NotStarted,
    FirstHalf,
    HalfTime,
    SecondHalf,
    ExtraTime,
    BreakInExtraTime,
    PenaltyShootout,
    Running /* running, period unknown */,
    Finished,
    FinishedAfterExtraTime,
    FinishedOnPenalties,
    Postponed,
    Suspended,
    Cancelled,
    Abandoned,
    Awarded
};

struct Score {
    std::optional<int> home, away;
    bool operator==(const Score&) const = default;
};

struct Match {
    std::chrono::sys_seconds kickoff{};  // UTC
    MatchState state = MatchState::NotStarted;
    std::optional<int> minute;  // the provider's minute, when it gives one
    std::string home, away;     // UTF-8, as the provider spells them (short name preferred)
    Score score, halfTime;
    bool operator==(const Match&) const = default;
};

struct Competition {
    std::string area, name;  // area: country or region, UTF-8
    std::vector<Match> matches;
    bool operator==(const Competition&) const = default;
};

struct MatchModel {
    std::vector<Competition> competitions;
    bool operator==(const MatchModel&) const = default;
};

}  // namespace caltrix::feed
