// What a new load of a slot's lines changed in its scores: for each match
// found in both loads (same competition title, same two sides) whose score
// differs, a goal (the score went up) or a goal taken back (it went down).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace caltrix {

struct ScoreChange {
    enum class Kind { Goal, TakenBack };
    enum class Scorer { Home, Away, Both, None };

    Kind kind;
    Scorer scorer;
    std::string line;   // the new stored line
    std::string title;  // its competition's title ("" before any header)
    std::string teams;  // the two sides as the line writes them ("ALPHA-BETA")
    int home;
    int away;
    std::size_t sidesDash = std::string::npos;  // the "-" between the sides in `teams`; npos: its first

    bool SameMatch(const ScoreChange& other) const { return title == other.title && teams == other.teams; }
    // The side that scored (the part of the teams before or after the sides'
    // "-"); empty when both sides or none scored.
    std::string ScorerName() const;
    // The ticker's words for it: "GOAL  ALPHA 1 - 0 BETA  (CUP ONE)".
    std::string TickerText() const;

private:
    std::size_t dash() const;
};

// The changes from `before` to `after` (stored lines of one slot, in order).
// A match only in `after`, or whose score cannot be read in either load, is
// no change. `afterDashes` tells where each line of `after` has its sides'
// "-" (SidesDash); without it, a side ends at the first "-".
std::vector<ScoreChange> ScoreChanges(const std::vector<std::string>& before, const std::vector<std::string>& after,
                                      const std::vector<std::size_t>& afterDashes = {});

}  // namespace caltrix
