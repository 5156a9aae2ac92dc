// A simulated match day for the demo feed: competitions in several countries
// whose matches kick off, run, score, reach half-time and full time, go to
// extra time and penalties, with one postponed and one suspended match.
#pragma once

#include "feed/model/MatchModel.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace caltrix::feed {

class SimulatedMatchDay {
public:
    // The day repeats every `kDayMinutes` simulated minutes.
    static constexpr int kDayMinutes = 240;

    explicit SimulatedMatchDay(std::uint32_t seed = 2026);

    // The matches as they stand at `minutes` of simulated time.
    MatchModel ModelAt(double minutes) const;

    // The instant that `minutes` of simulated time stand for: the day starts
    // at 18:00 UTC and repeats, so kick-offs and "now" agree for the writer.
    static std::chrono::sys_seconds InstantAt(double minutes);

private:
    enum class Fate { Normal, Postponed, Suspended, ExtraTime, Penalties };
    struct Fixture {
        std::string home, away;
        int kickoff = 0;  // simulated minute of the day
        Fate fate = Fate::Normal;
        std::vector<int> homeGoals, awayGoals;  // match minutes of the goals
    };
    struct Day {
        std::string area, name;
        std::vector<Fixture> fixtures;
    };

    static Match matchAt(const Fixture& fixture, int dayMinute);
    std::vector<Day> m_competitions;
};

}  // namespace caltrix::feed
