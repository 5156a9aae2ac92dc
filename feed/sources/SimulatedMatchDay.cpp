#include "feed/sources/SimulatedMatchDay.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace caltrix::feed {
namespace {

struct FixtureSeed {
    const char* home;
    const char* away;
};

struct CompetitionSeed {
    const char* area;
    const char* name;
    std::vector<FixtureSeed> fixtures;
};

// Names with accents, apostrophes and "&" on purpose: the whole chain must
// carry them to the panels. Each match's sides fit a panel line as they are,
// as short names do.
const std::vector<CompetitionSeed> kSeeds = {
    {"Italy",
     "Serie A",
     {{"Juventus", "Inter Milan"}, {"AC Milan", "AS Roma"}, {"Lazio", "Napoli"}, {"Atalanta", "Fiorentina"}}},
    {"Italy", "Serie B", {{"L'Aquila", "Palermo"}, {"Sampdoria", "Bari"}, {"Cremonese", "Südtirol"}}},
    {"England",
     "Premier League",
     {{"Arsenal", "Chelsea"}, {"Brighton & Hove Albion", "Liverpool"}, {"Nott'm Forest", "Everton"}}},
    {"Spain", "La Liga", {{"Atlético Madrid", "Deportivo Alavés"}, {"Real Madrid", "Barcelona"}, {"Cádiz", "Málaga"}}},
    {"Germany", "Bundesliga", {{"Bayern München", "Mönchengladbach"}, {"1. FC Köln", "Werder Bremen"}}},
    {"France", "Ligue 1", {{"Saint-Étienne", "Nîmes"}, {"Paris SG", "Olympique Lyonnais"}}},
    {"Portugal", "Taça de Portugal", {{"Benfica", "Porto"}, {"Sporting CP", "Vitória Guimarães"}}},
    {"Netherlands", "Eredivisie", {{"Ajax", "PSV"}, {"Feyenoord", "AZ Alkmaar"}}},
    {"Ivory Coast", "Ligue 1", {{"ASEC Mimosas", "Africa Sports"}}},
    {"Israel", "Premier League", {{"Maccabi Petah Tikva", "Be'er Sheva"}}},
    {"Scotland", "Premiership", {{"Celtic", "Rangers"}, {"Heart of Midlothian", "Hibernian"}}},
};

constexpr int kHalfLength = 45;
constexpr int kBreak = 15;
constexpr int kFullTime = 2 * kHalfLength + kBreak;  // minutes of the day from kick-off to FT
constexpr int kExtraBreak = 5;
constexpr int kExtraEnd = kFullTime + kExtraBreak + 30;  // after extra time
constexpr int kSuspendedAt = 71;
// The day starts at 18:00 UTC on 7 December 2026.
constexpr std::chrono::sys_seconds kDayStart =
    std::chrono::sys_days(std::chrono::year{2026} / 12 / 7) + std::chrono::hours(18);

std::vector<int> goalMinutes(std::mt19937& random, int maxMinute) {
    std::poisson_distribution<int> goals(1.3);
    std::uniform_int_distribution<int> minute(1, maxMinute);
    std::vector<int> minutes(static_cast<std::size_t>(goals(random)));
    for (int& m : minutes) m = minute(random);
    std::sort(minutes.begin(), minutes.end());
    return minutes;
}

int goalsBy(const std::vector<int>& minutes, int matchMinute) {
    return static_cast<int>(std::count_if(minutes.begin(), minutes.end(), [&](int m) { return m <= matchMinute; }));
}

}  // namespace

SimulatedMatchDay::SimulatedMatchDay(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> kickoff(-90, kDayMinutes - kExtraEnd - 10);
    for (const auto& seedCompetition : kSeeds) {
        Day competition{seedCompetition.area, seedCompetition.name, {}};
        for (const auto& fixture : seedCompetition.fixtures) {
            Fixture match{fixture.home, fixture.away, kickoff(random), Fate::Normal, {}, {}};
            match.homeGoals = goalMinutes(random, 90);
            match.awayGoals = goalMinutes(random, 90);
            competition.fixtures.push_back(std::move(match));
        }
        m_competitions.push_back(std::move(competition));
    }
    // Fixed fates so every kind of line is always on the page.
    m_competitions[1].fixtures[2].fate = Fate::Postponed;
    m_competitions[3].fixtures[2].fate = Fate::Suspended;
    m_competitions[6].fixtures[0].fate = Fate::Penalties;
    m_competitions[6].fixtures[1].fate = Fate::ExtraTime;
    for (auto* match : {&m_competitions[6].fixtures[0], &m_competitions[6].fixtures[1]}) {
        match->awayGoals = match->homeGoals;  // level after 90 minutes
    }
    m_competitions[6].fixtures[1].homeGoals.push_back(104);
}

std::chrono::sys_seconds SimulatedMatchDay::InstantAt(double minutes) {
    const double dayMinute = std::fmod(std::fmod(minutes, kDayMinutes) + kDayMinutes, kDayMinutes);
    return kDayStart + std::chrono::seconds(static_cast<long>(std::floor(dayMinute * 60)));
}

MatchModel SimulatedMatchDay::ModelAt(double minutes) const {
    const int dayMinute =
        static_cast<int>(std::chrono::floor<std::chrono::minutes>(InstantAt(minutes) - kDayStart).count());
    MatchModel model;
    for (const auto& day : m_competitions) {
        Competition competition{day.area, day.name, {}};
        for (const auto& fixture : day.fixtures) competition.matches.push_back(matchAt(fixture, dayMinute));
        model.competitions.push_back(std::move(competition));
    }
    return model;
}

Match SimulatedMatchDay::matchAt(const Fixture& fixture, int dayMinute) {
    Match match;
    match.kickoff = kDayStart + std::chrono::minutes(fixture.kickoff);
    match.home = fixture.home;
    match.away = fixture.away;
    const auto scoreAt = [&](int matchMinute) {
        return Score{goalsBy(fixture.homeGoals, matchMinute), goalsBy(fixture.awayGoals, matchMinute)};
    };
    const auto set = [&](MatchState state, int matchMinute, bool running) {
        match.state = state;
        match.score = scoreAt(matchMinute);
        if (running) match.minute = matchMinute;
        if (matchMinute >= kHalfLength) match.halfTime = scoreAt(kHalfLength);
        return match;
    };
    const int elapsed = dayMinute - fixture.kickoff;
    const int secondHalfMinute = elapsed - kBreak + 1;
    const int extraMinute = 90 + elapsed - kFullTime - kExtraBreak + 1;
    if (fixture.fate == Fate::Postponed) {
        match.state = MatchState::Postponed;
        return match;
    }
    if (elapsed < 0) return match;
    if (elapsed < kHalfLength) return set(MatchState::FirstHalf, elapsed + 1, true);
    if (elapsed < kHalfLength + kBreak) return set(MatchState::HalfTime, kHalfLength, false);
    if (fixture.fate == Fate::Suspended && secondHalfMinute > kSuspendedAt)
        return set(MatchState::Suspended, kSuspendedAt, false);
    if (elapsed < kFullTime) return set(MatchState::SecondHalf, secondHalfMinute, true);
    if (fixture.fate == Fate::Normal || fixture.fate == Fate::Suspended) return set(MatchState::Finished, 90, false);
    if (elapsed < kFullTime + kExtraBreak) return set(MatchState::BreakInExtraTime, 90, true);
    if (elapsed < kExtraEnd) return set(MatchState::ExtraTime, extraMinute, true);
    return set(fixture.fate == Fate::Penalties ? MatchState::FinishedOnPenalties : MatchState::FinishedAfterExtraTime,
               120, false);
}

}  // namespace caltrix::feed
