#include "feed/model/PageWriter.h"

#include "feed/model/PageText.h"
#include "common/ResultText.h"
#include "common/Text1252.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>

namespace caltrix::feed {
namespace {

using std::chrono::sys_seconds;
using UtcOffset = std::function<std::chrono::seconds(sys_seconds)>;

constexpr int kHalfLength = 45;
constexpr int kHalfTimeBreak = 15;
constexpr int kBreakBeforeExtraTime = 5;
const std::string kNoArea = "World";  // for a competition given without its area

// The local wall-clock time of `instant` as a time point whose "UTC" fields
// read as local ones.
sys_seconds localTime(sys_seconds instant, const UtcOffset& utcOffset) { return instant + utcOffset(instant); }

std::string clockTime(sys_seconds instant, const UtcOffset& utcOffset) {
    const sys_seconds local = localTime(instant, utcOffset);
    const std::chrono::hh_mm_ss time(local - std::chrono::floor<std::chrono::days>(local));
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()));
    return text;
}

std::string dateLine(sys_seconds now, const UtcOffset& utcOffset) {
    static constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                            "May",       "June",     "July",     "August",
                                                            "September", "October",  "November", "December"};
    const std::chrono::year_month_day date(std::chrono::floor<std::chrono::days>(localTime(now, utcOffset)));
    return std::string(kMonths[static_cast<unsigned>(date.month()) - 1]) + " " +
           std::to_string(static_cast<unsigned>(date.day()));
}

// The match minute from the kick-off, for a provider that gives none: the
// half-time break is not played, and the mark stays within the period.
int reckonedMinute(const Match& match, sys_seconds now) {
    const int played = static_cast<int>(std::chrono::floor<std::chrono::minutes>(now - match.kickoff).count()) + 1;
    const int secondHalf = played - kHalfTimeBreak;
    const int extraTime = secondHalf - kBreakBeforeExtraTime;
    switch (match.state) {
    case MatchState::FirstHalf:
        return std::clamp(played, 1, kHalfLength);
    case MatchState::SecondHalf:
        return std::clamp(secondHalf, kHalfLength + 1, 90);
    case MatchState::ExtraTime:
        return std::clamp(extraTime, 91, 120);
    case MatchState::BreakInExtraTime:
        return std::clamp(extraTime, 90, 105);
    default:
        return played <= kHalfLength ? std::max(played, 1) : std::clamp(secondHalf, kHalfLength, 90);
    }
}

// A pause after the 90th minute, by the provider's minute or else by the
// time since the kick-off, is the break before extra time, not half-time.
bool pausedAfterNinety(const Match& match, sys_seconds now) {
    if (match.minute) return *match.minute >= 90;
    const auto sinceKickoff = std::chrono::floor<std::chrono::minutes>(now - match.kickoff).count();
    return sinceKickoff - kHalfTimeBreak >= 90;
}

std::string minuteMark(const Match& match, sys_seconds now) {
    const int minute = match.minute ? std::clamp(*match.minute, 1, 120) : reckonedMinute(match, now);
    return std::to_string(minute) + "'";
}

// Every cell written here opens a match line for the page parser: a minute
// mark, a clock time, one of the words "FT", "AET", "HT", "Pen", or a cell
// that begins "Postp" or "Susp". A cancelled match is shown as postponed, an abandoned one as
// suspended at its score, an awarded one as finished with the awarded score.
std::string statusCell(const Match& match, sys_seconds now, const UtcOffset& utcOffset) {
    switch (match.state) {
    case MatchState::NotStarted:
        return clockTime(match.kickoff, utcOffset);
    case MatchState::HalfTime:
        return pausedAfterNinety(match, now) ? minuteMark(match, now) : "HT";
    case MatchState::FirstHalf:
    case MatchState::SecondHalf:
    case MatchState::ExtraTime:
    case MatchState::BreakInExtraTime:
    case MatchState::Running:
        return minuteMark(match, now);
    case MatchState::PenaltyShootout:
    case MatchState::FinishedOnPenalties:
        return "Pen.";
    case MatchState::Finished:
    case MatchState::Awarded:
        return "FT";
    case MatchState::FinishedAfterExtraTime:
        return "AET";
    case MatchState::Postponed:
    case MatchState::Cancelled:
        return "Postp.";
    case MatchState::Suspended:
    case MatchState::Abandoned:
        return "Susp.";
    }
    return "FT";
}

// "2 - 1"; a side the provider gives no number for shows "?", and so do
// both before kick-off.
std::string scoreCell(const Match& match) {
    const auto side = [&](const std::optional<int>& goals) {
        return goals && match.state != MatchState::NotStarted ? std::to_string(*goals) : std::string("?");
    };
    return side(match.score.home) + " - " + side(match.score.away);
}

std::string pageText(const std::string& text) { return EscapeMarkup(Windows1252Letters(text)); }

// The sides of a match line share its width with the widest status ("POSTP. ")
// and the "-" between them; the loader doubles every "&". A side keeps one
// name for the whole match, whatever its status.
constexpr std::size_t kSidesWidth = kTeamsWidth - 7 - 1;

std::size_t lineWidth(const std::string& name) {
    const std::string bytes = Utf8To1252(name);
    return bytes.size() + static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '&'));
}

// Shortens the first word of more than two letters that is not the last word
// to its initial ("Borussia Mönchengladbach" -> "B. Mönchengladbach"); false
// when no word is left to shorten.
bool shortenAWord(std::string& name) {
    std::size_t start = 0;
    for (std::size_t end = name.find(' '); end != std::string::npos; start = end + 1, end = name.find(' ', start)) {
        const std::string word = name.substr(start, end - start);
        if (lineWidth(word) <= 2) continue;
        const std::size_t initial = Utf8To1252(word).empty() ? 1 : Utf8From1252(Utf8To1252(word).substr(0, 1)).size();
        name.replace(start, end - start, word.substr(0, initial) + ".");
        return true;
    }
    return false;
}

// Cuts `name` at its end to at most `width` line characters.
void cutTo(std::string& name, std::size_t width) {
    std::string bytes = Utf8To1252(name);
    while (!bytes.empty() && lineWidth(Utf8From1252(bytes)) > width) bytes.pop_back();
    name = std::string(TrimSpaces(Utf8From1252(bytes)));
}

// The sides as the page names them: as given when both fit the line; else the
// longer side first has its leading words shortened to initials, and a side
// still too long is cut at its end, each keeping at least half the width.
std::pair<std::string, std::string> sidesThatFit(std::string home, std::string away) {
    const auto fits = [&] { return lineWidth(home) + lineWidth(away) <= kSidesWidth; };
    while (!fits()) {
        std::string& longer = lineWidth(home) >= lineWidth(away) ? home : away;
        std::string& shorter = &longer == &home ? away : home;
        if (!shortenAWord(longer) && !shortenAWord(shorter)) break;
    }
    if (!fits()) {
        const std::size_t half = kSidesWidth / 2;
        cutTo(home, std::max(half, kSidesWidth - std::min(lineWidth(away), half)));
        cutTo(away, kSidesWidth - lineWidth(home));
    }
    return {home, away};
}

std::string cell(const std::string& text) { return "<td>" + text + "</td>\n"; }

std::string matchRow(const Match& match, sys_seconds now, const UtcOffset& utcOffset) {
    const auto [home, away] = sidesThatFit(Windows1252Letters(match.home), Windows1252Letters(match.away));
    return "<tr>\n" + cell(statusCell(match, now, utcOffset)) + cell(EscapeMarkup(home)) + cell(scoreCell(match)) +
           cell(EscapeMarkup(away)) + "</tr>\n";
}

}  // namespace

// The title needs the " - " to become a header; an apostrophe is written as
// the acute accent, as the parser stores its titles.
std::string CompetitionTitle(const Competition& competition) {
    const std::string& area = competition.area.empty() ? kNoArea : competition.area;
    return ReplaceAll(pageText(area + " - " + competition.name), "'", "\xC2\xB4");
}

std::chrono::seconds SystemUtcOffset(sys_seconds instant) {
    const std::time_t time = std::chrono::system_clock::to_time_t(instant);
    std::tm local{};
    localtime_r(&time, &local);
    return std::chrono::seconds(local.tm_gmtoff);
}

std::string WritePage(const MatchModel& model, sys_seconds now, const UtcOffset& utcOffset) {
    std::string page =
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Live football scores</title>\n"
        "<style>body{font-family:sans-serif;background:#fff}td{padding:2px "
        "6px}.title{background:#060;color:#fff}</style>\n"
        "</head>\n<body>\n<div>Live football scores</div>\n<table>\n";
    const std::string date = dateLine(now, utcOffset);
    for (const auto& competition : model.competitions) {
        if (competition.matches.empty()) continue;
        page += "<tr>\n<td class=title colspan=4>" + CompetitionTitle(competition) + "</td>\n</tr>\n";
        page += "<tr>\n<td colspan=4>" + date + "</td>\n</tr>\n";
        std::vector<const Match*> matches;
        for (const auto& match : competition.matches) matches.push_back(&match);
        std::stable_sort(matches.begin(), matches.end(),
                         [](const Match* a, const Match* b) { return a->kickoff < b->kickoff; });
        for (const Match* match : matches) page += matchRow(*match, now, utcOffset);
    }
    page += "</table>\n<script>var t=new Date(); document.title += ' ' + t.getFullYear();</script>\n</body>\n</html>\n";
    return page;
}

}  // namespace caltrix::feed
