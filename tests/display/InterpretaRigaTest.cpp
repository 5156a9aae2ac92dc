#include <gtest/gtest.h>

#include "TestBench.h"
#include "display/core/LinePreparation.h"

namespace caltrix::test {
namespace {

const std::string kCrLf = "\r\n";
std::string Lines(const std::string& text) { return kCrLf + text + kCrLf; }

// Calls every match line begins with on a slot panel: flash stopped, both
// fields steady, flash stopped again.
Log InizioPartita(const std::string& p, const std::string& f) {
    return {f + ".Stop", p + ".FTFisso()", p + ".HTFisso()", f + ".Stop"};
}

Log Concatena(Log a, const Log& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class InterpretaRigaTest : public ::testing::Test {
protected:
    TestBench banco;
};

TEST_F(InterpretaRigaTest, RunningMatchShowsMinuteAndScoreAndFlashes) {
    const auto calls = banco.Interpreta(1, Partita("45\"JUVENTUS-MILAN", "1-0"));
    EXPECT_EQ(calls,
              Concatena(InizioPartita("p1", "f1"),
                        {"p1.FTColore=0x00FFFF", "p1.HT=", "p1.HTTesto=", "p1.ScrollTesto=" + Lines("JUVENTUS-MILAN"),
                         "p1.Testo=" + Lines("JUVENTUS-MILAN"), "p1.ScrollVerticale=0",
                         "p1.TestoPic=[14]45\" [15]1-0 [12]", "p1.HTFisso()", "f1.Start"}));
    EXPECT_EQ(banco.display->Flash(1).Markup(), "[14]45\" [15]1-0 [12]");
    EXPECT_TRUE(banco.Timer(1).Running());
}

struct CasoInCorso {
    const char* nome;
    std::string line;
    std::string text;    // Testo without the surrounding CR LF
    std::string scroll;  // ScrollTesto without the surrounding CR LF
    std::string testoPic;
    bool lampeggia;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CasoInCorso& caso, std::ostream* out) { *out << caso.nome; }

class InCorsoTest : public ::testing::TestWithParam<CasoInCorso> {};

TEST_P(InCorsoTest, WritesStatusTextsAndFlash) {
    const auto& caso = GetParam();
    TestBench banco;
    banco.Interpreta(2, caso.line);
    auto& p = banco.Pannello(2);
    EXPECT_EQ(p.GetTesto(), Lines(caso.text));
    EXPECT_EQ(p.ScrollTesto(), Lines(caso.scroll));
    EXPECT_EQ(p.TestoPic(), caso.testoPic);
    EXPECT_EQ(p.FTColore(), 0x00FFFFu);
    EXPECT_EQ(banco.Timer(2).Running(), caso.lampeggia);
}

INSTANTIATE_TEST_SUITE_P(Lines, InCorsoTest,
                         ::testing::Values(
                             // AET counts as running, shows steadily; the texts keep the blank after AET
                             CasoInCorso{"Aet", Partita("AET JUVENTUS-MILAN", "2-2"), " JUVENTUS-MILAN",
                                         " JUVENTUS-MILAN", "[14]AET [15]2-2 [12]", false},
                             // the minute mark is cut whole whatever its length: the texts start at the teams
                             CasoInCorso{"ThreeDigitMinute", Partita("120\"JUVENTUS-MILAN", "1-0"), "JUVENTUS-MILAN",
                                         "JUVENTUS-MILAN", "[14]120\" [15]1-0 [12]", true},
                             CasoInCorso{"OneDigitMinute", Partita("8\"SPORTING CP-BENFICA", "0-0"),
                                         "SPORTING CP-BENFICA", "SPORTING CP-BENFICA", "[14]8\" [15]0-0 [12]", true},
                             // a four-character score: only its last three are shown, its first stays in the texts
                             CasoInCorso{"FourCharacterScore", Partita("45\" A-B", "10-2"),
                                         "A-B" + std::string(33, ' ') + "1", "A-B" + std::string(33, ' ') + "1",
                                         "[14]45\" [15]0-2 [12]", true},
                             // ET in the first four characters, no minute
                             // (no status text: Testo keeps the score)
                             CasoInCorso{"ExtraTime", Partita("1ET A-B", "0-0"), " A-B" + std::string(33, ' ') + "0-0",
                                         " A-B", "[14] [15]0-0 [12]", true},
                             // a running line that mentions POSTP shows it steadily
                             CasoInCorso{"PostponedMention", Partita("12\" POSTP-B", "0-0"), " POSTP-B", " POSTP-B",
                                         "[14]POSTP [15]0-0 [12]", false}),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST_F(InterpretaRigaTest, FinishedMatchShowsFtInRedSteadily) {
    const auto calls = banco.Interpreta(3, Partita("FT JUVENTUS-INTER ", "2-1"));
    EXPECT_EQ(calls,
              Concatena(InizioPartita("p3", "f3"),
                        {"p3.FTColore=0x0000FF", "p3.HT=", "p3.HTTesto=", "p3.ScrollTesto=" + Lines("JUVENTUS-INTER"),
                         "p3.Testo=" + Lines("JUVENTUS-INTER"), "p3.ScrollVerticale=0",
                         "p3.InfoTesto=", "p3.InfoFisso()", "p3.TestoPic=[12]FT [15]2-1"}));
}

TEST_F(InterpretaRigaTest, PenaltiesAndPostponedWriteTheirStatusFirst) {
    EXPECT_EQ(banco.Interpreta(1, Partita("PEN. JUVENTUS-INTER", "4-3")),
              Concatena(InizioPartita("p1", "f1"),
                        {"p1.FTColore=0x0000FF", "p1.HT=", "p1.HTTesto=", "p1.TestoPic=[14]PENALTY [15]4-3",
                         "p1.ScrollTesto=" + Lines("JUVENTUS-INTER"), "p1.Testo=" + Lines("JUVENTUS-INTER"),
                         "p1.ScrollVerticale=0", "p1.InfoTesto=", "p1.InfoFisso()"}));
    EXPECT_EQ(banco.Interpreta(1, Partita("POSTP. LAZIO-ROMA", "?-?")),
              Concatena(InizioPartita("p1", "f1"),
                        {"p1.FTColore=0x0000FF", "p1.HT=", "p1.HTTesto=", "p1.TestoPic=[14]POSTP. [15]?-?",
                         "p1.ScrollTesto=" + Lines("LAZIO-ROMA"), "p1.Testo=" + Lines("LAZIO-ROMA"),
                         "p1.ScrollVerticale=0", "p1.InfoTesto=", "p1.InfoFisso()"}));
}

TEST_F(InterpretaRigaTest, SuspendedShowsSuspOnTheSlotPanel) {
    banco.Interpreta(4, Partita("SUSP.  LAZIO-ROMA", "1-1"));
    EXPECT_EQ(banco.Pannello(4).TestoPic(), "[14]SUSP. [15]1-1");
    EXPECT_EQ(banco.Pannello(4).GetTesto(), Lines("LAZIO-ROMA"));
    EXPECT_EQ(banco.Pannello(4).FTColore(), 0x0000FFu);
}

TEST_F(InterpretaRigaTest, HalfTimeEmptiesFtAndShowsHt) {
    EXPECT_EQ(
        banco.Interpreta(5, Partita("HT JUVENTUS-INTER", "1-0")),
        Concatena(InizioPartita("p5", "f5"),
                  {"p5.FT=", "p5.FTTesto=", "p5.ScrollTesto=" + Lines("JUVENTUS-INTER"),
                   "p5.Testo=" + Lines("JUVENTUS-INTER"), "p5.ScrollVerticale=0", "p5.TestoPic=[14]HT [15]1-0 ..."}));
}

TEST_F(InterpretaRigaTest, NotStartedKeepsTheKickOffTime) {
    EXPECT_EQ(banco.Interpreta(6, Partita("20:45 LAZIO-ROMA", "?-?")),
              Concatena(InizioPartita("p6", "f6"),
                        {"p6.ScrollTesto=" + Lines("20:45 LAZIO-ROMA"), "p6.Testo=" + Lines("20:45 LAZIO-ROMA"),
                         "p6.ScrollVerticale=0", "p6.FTColore=0x00FFFF", "p6.HT=", "p6.FTTesto=", "p6.HTTesto=",
                         "p6.InfoTesto=", "p6.InfoFisso()", "p6.TestoPic=[14]?-?"}));
}

TEST_F(InterpretaRigaTest, LineStartingWithLAndAQuoteIsNotRunning) {
    banco.Interpreta(1, Partita("L\"AQUILA-PESCARA", "?-?"));
    EXPECT_EQ(banco.Pannello(1).TestoPic(), "[14]?-?");
    banco.Interpreta(1, Partita("L ET\" A-B", "0-0"));  // ET as a word in the first four characters wins
    EXPECT_EQ(banco.Pannello(1).TestoPic(), "[14]L ET\" [15]0-0 [12]");
}

// The result lines of a page whose team names look like status words, as the
// loader stores them: each keeps its kind and its whole names.
TEST_F(InterpretaRigaTest, TeamNamesAreNotStatusWords) {
    struct {
        const char* line;
        const char* text;
        const char* testoPic;
    } casi[] = {
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
    for (const auto& caso : casi) {
        banco.Interpreta(1, PrepareLine(caso.line));
        EXPECT_EQ(banco.Pannello(1).GetTesto(), Lines(caso.text)) << caso.line;
        EXPECT_EQ(banco.Pannello(1).TestoPic(), caso.testoPic) << caso.line;
    }
}

TEST_F(InterpretaRigaTest, HeaderTitleReachesThePanelOnTheNextTick) {
    EXPECT_EQ(banco.Interpreta(7, "  <ITALY-SERIE A> "), (Log{"f7.Stop"}));
    EXPECT_EQ(banco.Interpreter().TitoliPannello(7), "ITALY-SERIE A");

    const auto calls = banco.Interpreta(7, Partita("FT A-B", "1-0"));
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "p7.Titolo=ITALY-SERIE A");
    EXPECT_EQ(calls[1], "f7.Stop");
    EXPECT_EQ(banco.Interpreter().TitoliPannello(7), "");

    EXPECT_EQ(banco.Interpreta(7, Partita("FT C-D", "1-0"))[0], "f7.Stop");  // title not written again
}

TEST_F(InterpretaRigaTest, TwoHeadersInARowShowTheFirstForOneTick) {
    banco.Interpreta(8, "<ENGLAND-PREMIER LEAGUE> ");
    EXPECT_EQ(banco.Interpreta(8, "<SPAIN-LIGA> "), (Log{"p8.Titolo=ENGLAND-PREMIER LEAGUE", "f8.Stop"}));
    EXPECT_EQ(banco.Interpreta(8, ""), (Log{"p8.Titolo=SPAIN-LIGA", "f8.Stop"}));
}

TEST_F(InterpretaRigaTest, BlankAndTooShortLinesOnlyStopTheFlash) {
    banco.Interpreta(9, Partita("45\" A-B", "1-0"));
    ASSERT_TRUE(banco.Timer(9).Running());
    for (const char* line : {"", "    ", "X", "1-"}) {
        EXPECT_EQ(banco.Interpreta(9, line), (Log{"f9.Stop"})) << line;
    }
    EXPECT_FALSE(banco.Timer(9).Running());
    EXPECT_EQ(banco.Pannello(9).GetTesto(), Lines("A-B"));
}

TEST_F(InterpretaRigaTest, UndrawableMarkupIsClearedBeforeTheFailureReachesTheCaller) {
    EXPECT_THROW(banco.Interpreter().InterpretaRiga(1, Partita("FT A-B", "[99")), Pannello2::MarkupError);
    EXPECT_EQ(banco.Pannello(1).GetTesto(), Lines("A-B"));  // writes made before the failure stay
    EXPECT_EQ(banco.Pannello(1).TestoPic(), "");
}

// --- the single-panel window mirrors slot PanSel ---

TEST_F(InterpretaRigaTest, WithoutPanSelTheSinglePanelIsNeverWritten) {
    for (const std::string& line : {std::string("<A-B> "), Partita("45\" A-B", "1-0"), std::string()}) {
        for (const auto& call : banco.Interpreta(3, line)) EXPECT_NE(call.rfind("solo.", 0), 0u) << call;
    }
    banco.Interpreter().SetPanSel(4);
    for (const auto& call : banco.Interpreta(3, Partita("FT A-B", "1-0"))) EXPECT_NE(call.rfind("solo.", 0), 0u);
}

TEST_F(InterpretaRigaTest, SinglePanelRunningMatchBlinksThenFlashes) {
    banco.Interpreter().SetPanSel(2);
    const auto calls = banco.Interpreta(2, Partita("45\"JUVENTUS-MILAN", "1-0"));
    const Log solo(calls.begin() + 13, calls.end());
    EXPECT_EQ(solo,
              (Log{"solo.Titolo=", "fs.Stop", "solo.FTFisso()", "solo.HTFisso()", "fs.Stop", "solo.FTColore=0x00FFFF",
                   "solo.HT=", "solo.HTTesto=", "solo.ScrollTesto=" + Lines("JUVENTUS-MILAN"),
                   "solo.Testo=" + Lines("JUVENTUS-MILAN"), "solo.ScrollVerticale=0", "solo.HTLampeggio()",
                   "solo.TestoPic=[14]45\" [15]1-0 [12]", "solo.HTFisso()", "fs.Start"}));
    EXPECT_EQ(banco.flashSolo.Markup(), "[14]45\" [15]1-0 [12]");
}

TEST_F(InterpretaRigaTest, SinglePanelTakesTheTitleFromTheSlotPanel) {
    banco.Interpreter().SetPanSel(2);
    banco.Interpreta(2, "<ITALY-SERIE A> ");
    banco.Interpreta(2, Partita("FT A-B", "1-0"));
    EXPECT_EQ(banco.solo.Titolo(), "ITALY-SERIE A");
}

TEST_F(InterpretaRigaTest, SinglePanelFinishedMatchMakesTheStripSteadyFirst) {
    banco.Interpreter().SetPanSel(6);
    const auto calls = banco.Interpreta(6, Partita("FT JUVENTUS-INTER ", "2-1"));
    const Log coda(calls.end() - 3, calls.end());
    EXPECT_EQ(coda, (Log{"solo.InfoFisso()", "solo.HTFisso()", "solo.TestoPic=[12]FT [15]2-1"}));
}

TEST_F(InterpretaRigaTest, SinglePanelDoesNotKnowSusp) {
    banco.Interpreter().SetPanSel(4);
    banco.Interpreta(4, Partita("SUSP.  LAZIO-ROMA", "1-1"));
    EXPECT_EQ(banco.Pannello(4).TestoPic(), "[14]SUSP. [15]1-1");
    EXPECT_EQ(banco.solo.TestoPic(), "[14]?-?");
    EXPECT_EQ(banco.solo.GetTesto(), Lines("SUSP.  LAZIO-ROMA"));

    banco.Interpreta(4, Partita("10\" SUSP-ROMA", "1-1"));  // a running line: no SUSP status, so it flashes
    EXPECT_EQ(banco.Pannello(4).TestoPic(), "[14]SUSP [15]1-1 [12]");
    EXPECT_FALSE(banco.Timer(4).Running());
    EXPECT_EQ(banco.solo.TestoPic(), "[14]10\" [15]1-1 [12]");
    EXPECT_TRUE(banco.timerSolo.Running());
}

TEST_F(InterpretaRigaTest, SinglePanelHeaderAndBlankLinesOnlyCopyTheTitle) {
    banco.Interpreter().SetPanSel(5);
    EXPECT_EQ(banco.Interpreta(5, "<A-B> "), (Log{"f5.Stop", "solo.Titolo=", "fs.Stop"}));
    EXPECT_EQ(banco.Interpreta(5, "X"), (Log{"p5.Titolo=A-B", "f5.Stop", "solo.Titolo=A-B", "fs.Stop"}));
}

}  // namespace
}  // namespace caltrix::test
