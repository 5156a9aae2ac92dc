#include "acquisition/PageParser.h"
#include "feed/model/PageText.h"
#include "feed/model/PageWriter.h"
#include "common/ResultText.h"
#include "common/Text1252.h"
#include "common/qt/Text1252Qt.h"

#include <gtest/gtest.h>

namespace caltrix::feed {
namespace {

using namespace std::chrono;

const sys_seconds kNow = sys_days(year{2026} / 12 / 7) + hours(20);
seconds oneHourAhead(sys_seconds) { return hours(1); }

Match match(MatchState state, minutes sinceKickoff, std::string home, std::string away, Score score = {}) {
    return Match{kNow - sinceKickoff, state, std::nullopt, std::move(home), std::move(away), score, {}};
}

// The result text lines (as UTF-8) that the page parser makes of `page`
// once the browser has saved it as Windows-1252 with CR LF line ends.
std::vector<std::string> parsedLines(const std::string& page) {
    const std::string saved = ReplaceAll(ToWindows1252(QString::fromStdString(page)), "\n", "\r\n");
    TitleList titles;
    CercaTitoli(saved, titles);
    const std::string text = ResultText(saved, titles);
    std::vector<std::string> result;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        end = std::min(text.find("\r\n", start), text.size());
        if (end > start)
            result.push_back(FromWindows1252(std::string_view(text).substr(start, end - start)).toStdString());
    }
    return result;
}

TEST(PageWriter, EveryMatchComesOutOfTheParserAsOneLineUnderItsTitle) {
    MatchModel model;
    model.competitions.push_back({"Türkiye",
                                  "Süper Lig",
                                  {match(MatchState::NotStarted, minutes(-60), "Beşiktaş", "Göztepe"),
                                   match(MatchState::Running, minutes(30), "Ağrı & <Spor>", "Iğdır\x07", {1, 0}),
                                   match(MatchState::HalfTime, minutes(50), "Đakovo", "Łódź", {0, std::nullopt})}});
    model.competitions.push_back({"Côte d'Ivoire",
                                  "Ligue 1",
                                  {match(MatchState::FinishedOnPenalties, hours(3), "ASEC", "Africa", {2, 2}),
                                   match(MatchState::Cancelled, hours(3), "Stella", "Séwé"),
                                   match(MatchState::Abandoned, hours(3), "Gagnoa", "Bouaké", {1, 1}),
                                   match(MatchState::Awarded, hours(3), "Sabé", "Hafia", {3, 0})}});
    model.competitions.push_back({"",
                                  "Friendlies",
                                  {match(MatchState::FinishedAfterExtraTime, hours(3), "Győr", "Næstved", {3, 2}),
                                   match(MatchState::PenaltyShootout, hours(2), "Sønderjyske", "Vejle", {1, 1})}});
    model.competitions.push_back({"Nowhere", "Empty", {}});

    EXPECT_EQ(parsedLines(WritePage(model, kNow, oneHourAhead)), (std::vector<std::string>{
                                                                     "<Türkiye - Süper Lig> ",
                                                                     "HT Dakovo <0 - ?> Lódz ",
                                                                     "31' Agri &amp; &lt;Spor&gt; <1 - 0> Igdir ",
                                                                     "Besiktas <? - ?> Göztepe ",
                                                                     "<Côte d´Ivoire - Ligue 1> ",
                                                                     "Pen. ASEC <2 - 2> Africa ",
                                                                     "Postp. Stella <? - ?> Séwé ",
                                                                     "Susp. Gagnoa <1 - 1> Bouaké ",
                                                                     "FT Sabé <3 - 0> Hafia ",
                                                                     "<World - Friendlies> ",
                                                                     "AET Gyor <3 - 2> Næstved ",
                                                                     "Pen. Sønderjyske <1 - 1> Vejle ",
                                                                 }));
}

// The status cell of a one-match page.
std::string statusCell(const Match& only) {
    const std::string page = WritePage({{{"Italy", "Serie A", {only}}}}, kNow, oneHourAhead);
    const std::size_t start = page.find("<tr>\n<td>", page.find("December")) + 9;
    return page.substr(start, page.find("</td>", start) - start);
}

// The loader shows status and sides in 40 characters, "&" doubled (the parser
// leaves it escaped until the closing step): long sides
// get their leading words shortened, a side with none left is cut at its end.
TEST(PageWriter, SidesAreNamedToFitTheLineWithTheWidestStatus) {
    const std::vector<std::pair<std::string, std::string>> sides = {
        {"Bayern München", "Borussia Mönchengladbach"},
        {"Brighton & Hove Albion", "Wolverhampton Wanderers"},
        {"Llanfairpwllgwyngyllgogerychwyrndrobwllllantysiliogogogoch", "Bangor City"},
        {"Juventus", "Inter"}};
    MatchModel model{{{"Wales", "Cup", {}}}};
    for (const auto& [home, away] : sides)
        model.competitions[0].matches.push_back(match(MatchState::Postponed, hours(1), home, away));
    const std::vector<std::string> lines = parsedLines(WritePage(model, kNow, oneHourAhead));
    EXPECT_EQ(lines, (std::vector<std::string>{"<Wales - Cup> ", "Postp. Bayern München <? - ?> B. Mönchengladbach ",
                                               "Postp. B. &amp; Hove Albion <? - ?> W. Wanderers ",
                                               "Postp. Llanfairpwllgwyngyllgoger <? - ?> B. City ",
                                               "Postp. Juventus <? - ?> Inter "}));
    for (const std::string& line : lines) {
        const std::string bytes = Utf8To1252(ReplaceAll(ReplaceAll(line, " <? - ?> ", "-"), "&amp;", "&&"));
        EXPECT_LE(std::string(TrimSpaces(bytes)).size(), kTeamsWidth) << line;
    }
}

TEST(PageWriter, MinuteMarksAreReckonedFromTheKickoffAcrossTheBreaks) {
    EXPECT_EQ(statusCell(match(MatchState::Running, minutes(30), "A", "B")), "31'");
    EXPECT_EQ(statusCell(match(MatchState::Running, minutes(50), "A", "B")), "45'");  // in the half-time break
    EXPECT_EQ(statusCell(match(MatchState::Running, minutes(70), "A", "B")), "56'");
    EXPECT_EQ(statusCell(match(MatchState::Running, minutes(300), "A", "B")), "90'");
    EXPECT_EQ(statusCell(match(MatchState::FirstHalf, minutes(58), "A", "B")), "45'");
    EXPECT_EQ(statusCell(match(MatchState::ExtraTime, minutes(125), "A", "B")), "106'");
    EXPECT_EQ(statusCell(match(MatchState::ExtraTime, minutes(400), "A", "B")), "120'");
    Match withMinute = match(MatchState::SecondHalf, minutes(300), "A", "B");
    withMinute.minute = 67;
    EXPECT_EQ(statusCell(withMinute), "67'");
    // A pause after the 90th minute is the break before extra time.
    withMinute.state = MatchState::HalfTime;
    withMinute.minute = 90;
    EXPECT_EQ(statusCell(withMinute), "90'");
    withMinute.minute = 45;
    EXPECT_EQ(statusCell(withMinute), "HT");
    EXPECT_EQ(statusCell(match(MatchState::HalfTime, minutes(110), "A", "B")), "90'");
    EXPECT_EQ(statusCell(match(MatchState::HalfTime, minutes(65), "A", "B")), "HT");
    EXPECT_EQ(statusCell(match(MatchState::NotStarted, minutes(-45), "A", "B")), "21:45");  // local time
}

TEST(PageText, LettersOutsideWindows1252BecomeTheirBaseLetterOrAQuestionMarkAndControlsGo) {
    EXPECT_EQ(Windows1252Letters("Şahin\x07 Ħamrun\xC2\x81 ı\xFF ő Ș \xC3"), "Sahin Hamrun i? o S ?");
    EXPECT_EQ(Windows1252Letters("€ Œ ž ÿ"), "€ Œ ž ÿ");
    EXPECT_EQ(Windows1252Letters("Москва"), "??????");
}

}  // namespace
}  // namespace caltrix::feed
