#include "display/MatchWriter.h"

#include <algorithm>
#include <string>

#include "common/LineText.h"
#include "common/Text1252.h"

namespace caltrix {
namespace {

using Pannello2::_Pannello;


std::string TraCrLf(std::string_view text) {
    const std::string lineEnd(kLineEnd);
    return lineEnd + std::string(text) + lineEnd;
}

// ScrollTesto and Testo get the same text, then the scroll is turned off.
void writeTeams(_Pannello& p, const std::string& text) {
    p.SetScrollTesto(text);
    p.SetTesto(text);
    p.SetScrollVerticale(false);
}

// The teams of a running line. A minute mark ("8\"", "45\"", "105\"") is cut
// whole, so the team names start right after it whatever its length; cutting
// a fixed three characters would eat a team's first letter after a one-digit
// minute (and keep a score digit at the end) or keep the quote mark after a
// three-digit one.
std::string_view RunningTeams(const StoredLine& line, std::string_view status) {
    if (!status.empty() && status.back() == '"') {
        const auto body = line.Body();
        return TrimSpaces(body.substr(std::min(status.size(), body.size())));
    }
    return line.Teams(4);
}

// Testo of a running line: for a status word (AET, POSTP, SUSP) the line
// without as many characters at its end, trimmed, from its 4th character.
std::string_view RunningText(const StoredLine& line, std::string_view status) {
    if (!status.empty() && status.back() == '"') return RunningTeams(line, status);
    const auto withoutStatus = TrimSpaces(Left(line.Line(), line.Line().size() - status.size()));
    return withoutStatus.size() >= 4 ? withoutStatus.substr(3) : std::string_view();
}

void writeRunning(ScoreFlash& flash, const StoredLine& line, Rules rules) {
    _Pannello& p = flash.Panel();
    const std::string_view status = line.RunningStatus(rules);
    p.SetFTColore(kLightYellow);
    p.SetHT("");
    p.SetHTTesto("");
    p.SetScrollTesto(TraCrLf(RunningTeams(line, status)));
    p.SetTesto(TraCrLf(RunningText(line, status)));
    p.SetScrollVerticale(false);
    if (rules == Rules::Solo) p.HTLampeggio();
    const std::string markup = "[14]" + std::string(status) + " [15]" + std::string(line.Score()) + " [12]";
    p.SetTestoPic(markup);
    if (status != "AET" && status != "POSTP" && status != "SUSP") flash.Start(markup);
}

// The teams of a postponed or suspended line: the body after its status word
// ("POSTP", "SUSP", spelled out or not), the word's full stop if any and the
// spaces that follow, whatever their length.
std::string_view teamsAfterStatusWord(const StoredLine& line) {
    std::string_view body = line.Body();
    const auto isLetter = [](char c) { return c >= 'A' && c <= 'Z'; };
    while (!body.empty() && isLetter(body.front())) body.remove_prefix(1);
    if (!body.empty() && body.front() == '.') body.remove_prefix(1);
    return TrimSpaces(body);
}

void writeEnded(_Pannello& p, const StoredLine& line, Rules rules) {
    const std::string score(TrimSpaces(line.Score()));
    const std::string_view l = line.Line();
    p.SetFTColore(kLightRed);
    p.SetHT("");
    p.SetHTTesto("");
    const auto writeRest = [&p](std::string_view teams) {
        writeTeams(p, TraCrLf(teams));
        p.SetInfoTesto("");
        p.InfoFisso();
    };
    if (StartsWith(l, "PEN")) {
        p.SetTestoPic("[14]PENALTY [15]" + score);
        writeRest(line.Teams(6));
    } else if (StartsWith(l, "POSTP") || (rules == Rules::Slot && StartsWith(l, "SUSP"))) {
        p.SetTestoPic((StartsWith(l, "SUSP") ? "[14]SUSP. [15]" : "[14]POSTP. [15]") + score);
        writeRest(teamsAfterStatusWord(line));
    } else {
        writeRest(line.Teams(4));
        if (rules == Rules::Solo) p.HTFisso();
        p.SetTestoPic("[12]" + std::string(Left(line.Trim(), 2)) + " [15]" + score);
    }
}

void writeHalfTime(_Pannello& p, const StoredLine& line) {
    p.SetFT("");
    p.SetFTTesto("");
    writeTeams(p, TraCrLf(line.Teams(4)));
    p.SetTestoPic("[14]HT [15]" + std::string(line.Score()) + " ...");
}

void writeNotStarted(_Pannello& p, const StoredLine& line) {
    writeTeams(p, TraCrLf(line.Body()));
    p.SetFTColore(kLightYellow);
    p.SetHT("");
    p.SetFTTesto("");
    p.SetHTTesto("");
    p.SetInfoTesto("");
    p.InfoFisso();
    p.SetTestoPic("[14]?-?");
}

// A side's name on the strip: short enough to fit beside the score, and
// without the bracket that opens a colour code.
std::string stripName(std::string name) {
    constexpr std::size_t kLongest = 14;
    if (name.size() > kLongest) name.resize(kLongest);
    std::replace(name.begin(), name.end(), '[', '(');
    return std::string(TrimSpaces(name));
}

}  // namespace

GoalMarkup MarkGoal(const ScoreChange& goal) {
    const std::string name = stripName(goal.ScorerName());
    const std::string score = std::to_string(goal.home) + "-" + std::to_string(goal.away);
    const std::string side = name.empty() ? "" : " " + name;
    return {"[14]GOAL " + score + side, "[12]GOAL [15]" + score + "[12]" + side};
}

void WriteGoal(ScoreFlash& flash, const ScoreChange& goal, Rules rules) {
    WriteMatch(flash, StoredLine(goal.line), rules);
    flash.Stop();
    GoalMarkup mark = MarkGoal(goal);
    flash.Panel().SetTestoPic(mark.lit);
    flash.Start(std::move(mark.lit), std::move(mark.dark));
}

void WriteMatch(ScoreFlash& flash, const StoredLine& line, Rules rules) {
    switch (line.Kind(rules)) {
    case LineKind::Running:
        writeRunning(flash, line, rules);
        break;
    case LineKind::Finished:
        writeEnded(flash.Panel(), line, rules);
        break;
    case LineKind::HalfTime:
        writeHalfTime(flash.Panel(), line);
        break;
    case LineKind::NotStarted:
        writeNotStarted(flash.Panel(), line);
        break;
    case LineKind::Empty:
    case LineKind::Header:
        break;
    }
}

}  // namespace caltrix
