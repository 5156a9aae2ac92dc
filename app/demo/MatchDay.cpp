#include "app/demo/MatchDay.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace caltrix::demo {
namespace {

struct Fixture {
    const char* home;
    const char* away;
};

struct CompetitionSeed {
    const char* title;
    std::vector<Fixture> fixtures;
};

// Names with accents, apostrophes and "&" on purpose: the whole chain must
// carry them to the panels.
const std::vector<CompetitionSeed> kSeeds = {
    {"Italy - Serie A", {{"Juventus", "Inter Milan"}, {"AC Milan", "AS Roma"}, {"Lazio", "Napoli"}, {"Atalanta", "Fiorentina"}}},
    {"Italy - Serie B", {{"L'Aquila", "Palermo"}, {"Sampdoria", "Bari"}, {"Cremonese", "Südtirol"}}},
    {"England - Premier League", {{"Arsenal", "Chelsea"}, {"Brighton & Hove Albion", "Liverpool"}, {"Nott'm Forest", "Everton"}}},
    {"Spain - La Liga", {{"Atlético Madrid", "Deportivo Alavés"}, {"Real Madrid", "Barcelona"}, {"Cádiz", "Málaga"}}},
    {"Germany - Bundesliga", {{"Bayern München", "Borussia Mönchengladbach"}, {"1. FC Köln", "Werder Bremen"}}},
    {"France - Ligue 1", {{"Saint-Étienne", "Nîmes"}, {"Paris SG", "Olympique Lyonnais"}}},
    {"Portugal - Taça de Portugal", {{"Benfica", "Porto"}, {"Sporting CP", "Vitória Guimarães"}}},
    {"Netherlands - Eredivisie", {{"Ajax", "PSV"}, {"Feyenoord", "AZ Alkmaar"}}},
    {"Ivory Coast - Ligue 1", {{"ASEC Mimosas", "Africa Sports"}}},
    {"Israel - Premier League", {{"Maccabi Petah Tikva", "Hapoel Be'er Sheva"}}},
    {"Scotland - Premiership", {{"Celtic", "Rangers"}, {"Heart of Midlothian", "Hibernian"}}},
};

constexpr int kHalfLength = 45;
constexpr int kBreak = 15;
constexpr int kFullTime = 2 * kHalfLength + kBreak;    // minutes of the day from kick-off to FT
constexpr int kExtraEnd = kFullTime + 5 + 30;           // after extra time
constexpr int kSuspendedAt = 71;

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

std::string score(int home, int away) { return std::to_string(home) + " - " + std::to_string(away); }

std::string clockTime(int dayMinute) {
    const int total = 18 * 60 + dayMinute;  // the day starts at 18:00
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", (total / 60) % 24, total % 60);
    return text;
}

std::string escapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

}  // namespace

MatchDay::MatchDay(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> kickoff(-90, kDayMinutes - kExtraEnd - 10);
    for (const auto& seedCompetition : kSeeds) {
        Competition competition{seedCompetition.title, {}};
        for (const auto& fixture : seedCompetition.fixtures) {
            Match match{fixture.home, fixture.away, kickoff(random), Fate::Normal, {}, {}};
            match.homeGoals = goalMinutes(random, 90);
            match.awayGoals = goalMinutes(random, 90);
            competition.matches.push_back(std::move(match));
        }
        m_competitions.push_back(std::move(competition));
    }
    // Fixed fates so every kind of line is always on the page.
    m_competitions[1].matches[2].fate = Fate::Postponed;
    m_competitions[3].matches[2].fate = Fate::Suspended;
    m_competitions[6].matches[0].fate = Fate::Penalties;
    m_competitions[6].matches[1].fate = Fate::ExtraTime;
    for (auto* match : {&m_competitions[6].matches[0], &m_competitions[6].matches[1]}) {
        match->awayGoals = match->homeGoals;  // level after 90 minutes
    }
    m_competitions[6].matches[1].homeGoals.push_back(104);
}

std::size_t MatchDay::MatchCount() const {
    std::size_t count = 0;
    for (const auto& competition : m_competitions) count += competition.matches.size();
    return count;
}

MatchState MatchDay::State(std::size_t competition, std::size_t index, double minutes) const {
    return stateOf(m_competitions.at(competition).matches.at(index), minutes);
}

MatchState MatchDay::stateOf(const Match& match, double minutes) {
    const double dayMinute = std::fmod(std::fmod(minutes, kDayMinutes) + kDayMinutes, kDayMinutes);
    const int elapsed = static_cast<int>(std::floor(dayMinute)) - match.kickoff;
    const auto at = [&](int matchMinute) {
        return score(goalsBy(match.homeGoals, matchMinute), goalsBy(match.awayGoals, matchMinute));
    };
    if (match.fate == Fate::Postponed) return {"Postp.", "? - ?", false};
    if (elapsed < 0) return {clockTime(match.kickoff), "? - ?", false};
    if (elapsed < kHalfLength) return {std::to_string(elapsed + 1) + "'", at(elapsed + 1), true};
    if (elapsed < kHalfLength + kBreak) return {"HT", at(kHalfLength), false};
    const int secondHalfMinute = elapsed - kBreak + 1;
    if (match.fate == Fate::Suspended && secondHalfMinute > kSuspendedAt) return {"Susp.", at(kSuspendedAt), false};
    if (elapsed < kFullTime) return {std::to_string(secondHalfMinute) + "'", at(secondHalfMinute), true};
    if (match.fate == Fate::Normal || match.fate == Fate::Suspended) return {"FT", at(90), false};
    const int extraMinute = 90 + elapsed - kFullTime - 5 + 1;
    if (elapsed < kFullTime + 5) return {"90'", at(90), true};
    if (elapsed < kExtraEnd) return {std::to_string(extraMinute) + "'", at(extraMinute), true};
    return {match.fate == Fate::Penalties ? "Pen." : "AET", at(120), false};
}

std::string MatchDay::Page(double minutes) const {
    std::string page =
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Live football scores</title>\n"
        "<style>body{font-family:sans-serif;background:#fff}td{padding:2px 6px}.title{background:#060;color:#fff}</style>\n"
        "</head>\n<body>\n<div>Live football scores - simulated match day</div>\n<table>\n";
    for (const auto& competition : m_competitions) {
        page += "<tr>\n<td class=title colspan=4>" + escapeHtml(competition.title) + "</td>\n</tr>\n";
        page += "<tr>\n<td colspan=4>December 7</td>\n</tr>\n";
        for (const auto& match : competition.matches) {
            const MatchState state = stateOf(match, minutes);
            page += "<tr>\n<td>" + state.status + "</td>\n<td>" + escapeHtml(match.home) + "</td>\n<td>" + state.score +
                    "</td>\n<td>" + escapeHtml(match.away) + "</td>\n</tr>\n";
        }
    }
    page += "</table>\n<script>var t=new Date(); document.title += ' ' + t.getFullYear();</script>\n</body>\n</html>\n";
    return page;
}

}  // namespace caltrix::demo
