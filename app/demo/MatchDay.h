// A simulated match day for the demo feed: competitions in several countries
// whose matches kick off, run, score, reach half-time and full time, with one
// postponed and one suspended match, rendered as a live-score page in the
// markup form of the real site (one table cell per line, "class=title"
// headers, a closing script).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace caltrix::demo {

struct MatchState {
    std::string status;  // "20:45", "67'", "HT", "FT", "AET", "Pen.", "Postp.", "Susp."
    std::string score;   // "2 - 1", or "? - ?" before kick-off
    bool running = false;
};

class MatchDay {
public:
    // The day repeats every `kDayMinutes` simulated minutes.
    static constexpr int kDayMinutes = 240;

    explicit MatchDay(std::uint32_t seed = 2026);

    // The live-score page (UTF-8) at `minutes` of simulated time.
    std::string Page(double minutes) const;

    std::size_t CompetitionCount() const { return m_competitions.size(); }
    std::size_t MatchCount() const;
    std::size_t MatchesIn(std::size_t competition) const { return m_competitions.at(competition).matches.size(); }
    // State of match `index` of competition `competition` at `minutes`.
    MatchState State(std::size_t competition, std::size_t index, double minutes) const;

private:
    enum class Fate { Normal, Postponed, Suspended, ExtraTime, Penalties };
    struct Match {
        std::string home, away;
        int kickoff = 0;  // simulated minute of the day
        Fate fate = Fate::Normal;
        std::vector<int> homeGoals, awayGoals;  // match minutes of the goals
    };
    struct Competition {
        std::string title;
        std::vector<Match> matches;
    };

    static MatchState stateOf(const Match& match, double minutes);
    std::vector<Competition> m_competitions;
};

}  // namespace caltrix::demo
