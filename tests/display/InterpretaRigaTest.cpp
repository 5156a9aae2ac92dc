#include <gtest/gtest.h>

#include "TestBench.h"
#include "display/LinePreparation.h"

namespace caltrix::test {
namespace {

const std::string kCrLf = "\r\n";
std::string Lines(const std::string& text) { return kCrLf + text + kCrLf; }

// Calls every match line begins with on a slot panel: flash stopped, both
// fields steady, flash stopped again.
Log MatchStart(const std::string& p, const std::string& f) {
    return {f + ".Stop", p + ".FTFisso()", p + ".HTFisso()", f + ".Stop"};
}

Log Concatenated(Log a, const Log& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class InterpretaRigaTest : public ::testing::Test {
protected:
    TestBench bench;
};

TEST_F(InterpretaRigaTest, RunningMatchShowsMinuteAndScoreAndFlashes) {
    const auto calls = bench.Interpret(1, MatchLine("45\"JUVENTUS-MILAN", "1-0"));
    EXPECT_EQ(calls, Concatenated(
                         MatchStart("p1", "f1"),
                         {"p1.FTColore=0x00FFFF", "p1.HT=", "p1.HTTesto=", "p1.ScrollTesto=" + Lines("JUVENTUS-MILAN"),
                          "p1.Testo=" + Lines("JUVENTUS-MILAN"), "p1.ScrollVerticale=0",
                          "p1.TestoPic=[14]45\" [15]1-0 [12]", "p1.HTFisso()", "f1.Start"}));
    EXPECT_EQ(bench.display->Flash(1).Markup(), "[14]45\" [15]1-0 [12]");
    EXPECT_TRUE(bench.Timer(1).Running());
}

struct RunningCase {
    const char* name;
    std::string line;
    std::string text;    // Testo without the surrounding CR LF
    std::string scroll;  // ScrollTesto without the surrounding CR LF
    std::string testoPic;
    bool flashes;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const RunningCase& testCase, std::ostream* out) { *out << testCase.name; }

class RunningLineTest : public ::testing::TestWithParam<RunningCase> {};

TEST_P(RunningLineTest, WritesStatusTextsAndFlash) {
    const auto& testCase = GetParam();
    TestBench bench;
    bench.Interpret(2, testCase.line);
    auto& p = bench.Pannello(2);
    EXPECT_EQ(p.GetTesto(), Lines(testCase.text));
    EXPECT_EQ(p.ScrollTesto(), Lines(testCase.scroll));
    EXPECT_EQ(p.TestoPic(), testCase.testoPic);
    EXPECT_EQ(p.FTColore(), 0x00FFFFu);
    EXPECT_EQ(bench.Timer(2).Running(), testCase.flashes);
}

INSTANTIATE_TEST_SUITE_P(Lines, RunningLineTest,
                         ::testing::Values(
                             // AET counts as running, shows steadily; the texts keep the blank after AET
                             RunningCase{"Aet", MatchLine("AET JUVENTUS-MILAN", "2-2"), " JUVENTUS-MILAN",
                                         " JUVENTUS-MILAN", "[14]AET [15]2-2 [12]", false},
                             // the minute mark is cut whole whatever its length: the texts start at the teams
                             RunningCase{"ThreeDigitMinute", MatchLine("120\"JUVENTUS-MILAN", "1-0"), "JUVENTUS-MILAN",
                                         "JUVENTUS-MILAN", "[14]120\" [15]1-0 [12]", true},
                             RunningCase{"OneDigitMinute", MatchLine("8\"SPORTING CP-BENFICA", "0-0"),
                                         "SPORTING CP-BENFICA", "SPORTING CP-BENFICA", "[14]8\" [15]0-0 [12]", true},
                             // a four-character score: only its last three are shown, its first stays in the texts
                             RunningCase{"FourCharacterScore", MatchLine("45\" A-B", "10-2"),
                                         "A-B" + std::string(33, ' ') + "1", "A-B" + std::string(33, ' ') + "1",
                                         "[14]45\" [15]0-2 [12]", true},
                             // ET in the first four characters, no minute
                             // (no status text: Testo keeps the score)
                             RunningCase{"ExtraTime", MatchLine("1ET A-B", "0-0"),
                                         " A-B" + std::string(33, ' ') + "0-0", " A-B", "[14] [15]0-0 [12]", true},
                             // a running line that mentions POSTP shows it steadily
                             RunningCase{"PostponedMention", MatchLine("12\" POSTP-B", "0-0"), " POSTP-B", " POSTP-B",
                                         "[14]POSTP [15]0-0 [12]", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InterpretaRigaTest, FinishedMatchShowsFtInRedSteadily) {
    const auto calls = bench.Interpret(3, MatchLine("FT JUVENTUS-INTER ", "2-1"));
    EXPECT_EQ(calls, Concatenated(
                         MatchStart("p3", "f3"),
                         {"p3.FTColore=0x0000FF", "p3.HT=", "p3.HTTesto=", "p3.ScrollTesto=" + Lines("JUVENTUS-INTER"),
                          "p3.Testo=" + Lines("JUVENTUS-INTER"), "p3.ScrollVerticale=0",
                          "p3.InfoTesto=", "p3.InfoFisso()", "p3.TestoPic=[12]FT [15]2-1"}));
}

TEST_F(InterpretaRigaTest, PenaltiesAndPostponedWriteTheirStatusFirst) {
    EXPECT_EQ(bench.Interpret(1, MatchLine("PEN. JUVENTUS-INTER", "4-3")),
              Concatenated(MatchStart("p1", "f1"),
                           {"p1.FTColore=0x0000FF", "p1.HT=", "p1.HTTesto=", "p1.TestoPic=[14]PENALTY [15]4-3",
                            "p1.ScrollTesto=" + Lines("JUVENTUS-INTER"), "p1.Testo=" + Lines("JUVENTUS-INTER"),
                            "p1.ScrollVerticale=0", "p1.InfoTesto=", "p1.InfoFisso()"}));
    EXPECT_EQ(bench.Interpret(1, MatchLine("POSTP. LAZIO-ROMA", "?-?")),
              Concatenated(MatchStart("p1", "f1"),
                           {"p1.FTColore=0x0000FF", "p1.HT=", "p1.HTTesto=", "p1.TestoPic=[14]POSTP. [15]?-?",
                            "p1.ScrollTesto=" + Lines("LAZIO-ROMA"), "p1.Testo=" + Lines("LAZIO-ROMA"),
                            "p1.ScrollVerticale=0", "p1.InfoTesto=", "p1.InfoFisso()"}));
}

// The teams start after the status word, its full stop and its spaces, for
// both words, with or without the full stop and spelled out.
TEST_F(InterpretaRigaTest, PostponedAndSuspendedKeepTheWholeHomeSide) {
    for (const char* status : {"SUSP. ", "SUSP ", "SUSPENDED ", "POSTP. ", "POSTP ", "POSTPONED ", "SUSP.   "}) {
        bench.Interpret(4, MatchLine(std::string(status) + "WOLFSBURG10-AUGSBURG10", "1-0"));
        EXPECT_EQ(bench.Pannello(4).GetTesto(), Lines("WOLFSBURG10-AUGSBURG10")) << status;
    }
}

TEST_F(InterpretaRigaTest, HalfTimeEmptiesFtAndShowsHt) {
    EXPECT_EQ(
        bench.Interpret(5, MatchLine("HT JUVENTUS-INTER", "1-0")),
        Concatenated(MatchStart("p5", "f5"), {"p5.FT=", "p5.FTTesto=", "p5.ScrollTesto=" + Lines("JUVENTUS-INTER"),
                                              "p5.Testo=" + Lines("JUVENTUS-INTER"), "p5.ScrollVerticale=0",
                                              "p5.TestoPic=[14]HT [15]1-0 ..."}));
}

TEST_F(InterpretaRigaTest, NotStartedKeepsTheKickOffTime) {
    EXPECT_EQ(bench.Interpret(6, MatchLine("20:45 LAZIO-ROMA", "?-?")),
              Concatenated(MatchStart("p6", "f6"),
                           {"p6.ScrollTesto=" + Lines("20:45 LAZIO-ROMA"), "p6.Testo=" + Lines("20:45 LAZIO-ROMA"),
                            "p6.ScrollVerticale=0", "p6.FTColore=0x00FFFF", "p6.HT=", "p6.FTTesto=", "p6.HTTesto=",
                            "p6.InfoTesto=", "p6.InfoFisso()", "p6.TestoPic=[14]?-?"}));
}

TEST_F(InterpretaRigaTest, LineStartingWithLAndAQuoteIsNotRunning) {
    bench.Interpret(1, MatchLine("L\"AQUILA-PESCARA", "?-?"));
    EXPECT_EQ(bench.Pannello(1).TestoPic(), "[14]?-?");
    bench.Interpret(1, MatchLine("L ET\" A-B", "0-0"));  // ET as a word in the first four characters wins
    EXPECT_EQ(bench.Pannello(1).TestoPic(), "[14]L ET\" [15]0-0 [12]");
}

// The result lines of a page whose team names look like status words, as the
// loader stores them: each keeps its kind and its whole names.
TEST_F(InterpretaRigaTest, TeamNamesAreNotStatusWords) {
    struct {
        const char* line;
        const char* text;
        const char* testoPic;
    } cases[] = {
        {"FT LEIX\325ES <1-0> PENAFIEL ", "LEIX\325ES-PENAFIEL", "[12]FT [15]1-0"},  // \325: O with tilde
        {"PENAFIEL <?-?> FEIRENSE ", "PENAFIEL-FEIRENSE", "[14]?-?"},
        {"FT FTC <3-0> DEBRECEN ", "FTC-DEBRECEN", "[12]FT [15]3-0"},
        {"FTC <?-?> PAKS ", "FTC-PAKS", "[14]?-?"},
        {"GETAFE <?-?> BETIS ", "GETAFE-BETIS", "[14]?-?"},
        {"METZ <?-?> LENS ", "METZ-LENS", "[14]?-?"},
        {"ETHNIKOS <?-?> KALAMATA ", "ETHNIKOS-KALAMATA", "[14]?-?"},
        {"HT M'GLADBACH <1-1> BAYERN ", "M'GLADBACH-BAYERN", "[14]HT [15]1-1 ..."},
        {"90+2\"PORTO B <2-2> TONDELA ", "PORTO B-TONDELA", "[14]90+2\" [15]2-2 [12]"},
        {"67\"GAETA <1-0> LATINA ", "GAETA-LATINA", "[14]67\" [15]1-0 [12]"},
    };
    for (const auto& testCase : cases) {
        bench.Interpret(1, PrepareLine(testCase.line));
        EXPECT_EQ(bench.Pannello(1).GetTesto(), Lines(testCase.text)) << testCase.line;
        EXPECT_EQ(bench.Pannello(1).TestoPic(), testCase.testoPic) << testCase.line;
    }
}

TEST_F(InterpretaRigaTest, HeaderTitleReachesThePanelOnTheNextTick) {
    EXPECT_EQ(bench.Interpret(7, "  <ITALY-SERIE A> "), (Log{"f7.Stop"}));
    EXPECT_EQ(bench.Interpreter().TitoliPannello(7), "ITALY-SERIE A");

    const auto calls = bench.Interpret(7, MatchLine("FT A-B", "1-0"));
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "p7.Titolo=ITALY-SERIE A");
    EXPECT_EQ(calls[1], "f7.Stop");
    EXPECT_EQ(bench.Interpreter().TitoliPannello(7), "");

    EXPECT_EQ(bench.Interpret(7, MatchLine("FT C-D", "1-0"))[0], "f7.Stop");  // title not written again
}

TEST_F(InterpretaRigaTest, TwoHeadersInARowShowTheFirstForOneTick) {
    bench.Interpret(8, "<ENGLAND-PREMIER LEAGUE> ");
    EXPECT_EQ(bench.Interpret(8, "<SPAIN-LIGA> "), (Log{"p8.Titolo=ENGLAND-PREMIER LEAGUE", "f8.Stop"}));
    EXPECT_EQ(bench.Interpret(8, ""), (Log{"p8.Titolo=SPAIN-LIGA", "f8.Stop"}));
}

TEST_F(InterpretaRigaTest, BlankAndTooShortLinesOnlyStopTheFlash) {
    bench.Interpret(9, MatchLine("45\" A-B", "1-0"));
    ASSERT_TRUE(bench.Timer(9).Running());
    for (const char* line : {"", "    ", "X", "1-"}) {
        EXPECT_EQ(bench.Interpret(9, line), (Log{"f9.Stop"})) << line;
    }
    EXPECT_FALSE(bench.Timer(9).Running());
    EXPECT_EQ(bench.Pannello(9).GetTesto(), Lines("A-B"));
}

TEST_F(InterpretaRigaTest, UndrawableMarkupIsClearedBeforeTheFailureReachesTheCaller) {
    EXPECT_THROW(bench.Interpreter().InterpretaRiga(1, MatchLine("FT A-B", "[99")), Pannello2::MarkupError);
    EXPECT_EQ(bench.Pannello(1).GetTesto(), Lines("A-B"));  // writes made before the failure stay
    EXPECT_EQ(bench.Pannello(1).TestoPic(), "");
}

// --- the single-panel window mirrors slot PanSel ---

TEST_F(InterpretaRigaTest, WithoutPanSelTheSinglePanelIsNeverWritten) {
    for (const std::string& line : {std::string("<A-B> "), MatchLine("45\" A-B", "1-0"), std::string()}) {
        for (const auto& call : bench.Interpret(3, line)) EXPECT_NE(call.rfind("solo.", 0), 0u) << call;
    }
    bench.Interpreter().SetPanSel(4);
    for (const auto& call : bench.Interpret(3, MatchLine("FT A-B", "1-0"))) EXPECT_NE(call.rfind("solo.", 0), 0u);
}

TEST_F(InterpretaRigaTest, SinglePanelRunningMatchBlinksThenFlashes) {
    bench.Interpreter().SetPanSel(2);
    const auto calls = bench.Interpret(2, MatchLine("45\"JUVENTUS-MILAN", "1-0"));
    const Log solo(calls.begin() + 13, calls.end());
    EXPECT_EQ(solo,
              (Log{"solo.Titolo=", "fs.Stop", "solo.FTFisso()", "solo.HTFisso()", "fs.Stop", "solo.FTColore=0x00FFFF",
                   "solo.HT=", "solo.HTTesto=", "solo.ScrollTesto=" + Lines("JUVENTUS-MILAN"),
                   "solo.Testo=" + Lines("JUVENTUS-MILAN"), "solo.ScrollVerticale=0", "solo.HTLampeggio()",
                   "solo.TestoPic=[14]45\" [15]1-0 [12]", "solo.HTFisso()", "fs.Start"}));
    EXPECT_EQ(bench.flashSolo.Markup(), "[14]45\" [15]1-0 [12]");
}

TEST_F(InterpretaRigaTest, SinglePanelTakesTheTitleFromTheSlotPanel) {
    bench.Interpreter().SetPanSel(2);
    bench.Interpret(2, "<ITALY-SERIE A> ");
    bench.Interpret(2, MatchLine("FT A-B", "1-0"));
    EXPECT_EQ(bench.solo.Titolo(), "ITALY-SERIE A");
}

TEST_F(InterpretaRigaTest, SinglePanelFinishedMatchMakesTheStripSteadyFirst) {
    bench.Interpreter().SetPanSel(6);
    const auto calls = bench.Interpret(6, MatchLine("FT JUVENTUS-INTER ", "2-1"));
    const Log coda(calls.end() - 3, calls.end());
    EXPECT_EQ(coda, (Log{"solo.InfoFisso()", "solo.HTFisso()", "solo.TestoPic=[12]FT [15]2-1"}));
}

TEST_F(InterpretaRigaTest, SuspShowsOnTheSlotPanelButTheSinglePanelDoesNotKnowIt) {
    bench.Interpreter().SetPanSel(4);
    bench.Interpret(4, MatchLine("SUSP.  LAZIO-ROMA", "1-1"));
    EXPECT_EQ(bench.Pannello(4).TestoPic(), "[14]SUSP. [15]1-1");
    EXPECT_EQ(bench.Pannello(4).GetTesto(), Lines("LAZIO-ROMA"));
    EXPECT_EQ(bench.Pannello(4).FTColore(), 0x0000FFu);
    EXPECT_EQ(bench.solo.TestoPic(), "[14]?-?");
    EXPECT_EQ(bench.solo.GetTesto(), Lines("SUSP.  LAZIO-ROMA"));

    bench.Interpret(4, MatchLine("10\" SUSP-ROMA", "1-1"));  // a running line: no SUSP status, so it flashes
    EXPECT_EQ(bench.Pannello(4).TestoPic(), "[14]SUSP [15]1-1 [12]");
    EXPECT_FALSE(bench.Timer(4).Running());
    EXPECT_EQ(bench.solo.TestoPic(), "[14]10\" [15]1-1 [12]");
    EXPECT_TRUE(bench.timerSolo.Running());
}

TEST_F(InterpretaRigaTest, SinglePanelHeaderAndBlankLinesOnlyCopyTheTitle) {
    bench.Interpreter().SetPanSel(5);
    EXPECT_EQ(bench.Interpret(5, "<A-B> "), (Log{"f5.Stop", "solo.Titolo=", "fs.Stop"}));
    EXPECT_EQ(bench.Interpret(5, "X"), (Log{"p5.Titolo=A-B", "f5.Stop", "solo.Titolo=A-B", "fs.Stop"}));
}

}  // namespace
}  // namespace caltrix::test
