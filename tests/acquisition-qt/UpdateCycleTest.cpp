#include "CycleFixture.h"
#include "tests/support/PageLoading.h"

#include <QTimer>

namespace caltrix {
namespace {

using testing::Answer;
using testing::CycleTest;
using testing::HttpAnswer;
using testing::kConfigTarget;
using testing::kPageOneCellPerLine;
using testing::kPageSingleLine;
using testing::kPageTarget;

HttpAnswer Delayed(HttpAnswer answer, int delayMs) {
    answer.delayMs = delayMs;
    return answer;
}

HttpAnswer ClosedWithoutAnswer() {
    HttpAnswer answer;
    answer.closeWithoutAnswer = true;
    return answer;
}

const std::string kSerieA = "<ITALY-SERIE A> \r\nFT JUVENTUS <2-1> INTER \r\n67\"LAZIO <0-0> ROMA \r\n\r\n";

TEST_F(CycleTest, WritesTheSameResultsWhateverThePageLayout) {
    ServePage(kPageOneCellPerLine);
    ASSERT_TRUE(m_window->AggiornaTelevideo());
    const std::string firstSlot = SlotFile(1);
    const std::string firstCombined = ReadWholeFile(ProgramFile("video1.txt"));
    EXPECT_EQ(firstSlot, kSerieA);
    EXPECT_EQ(SlotFile(2), "\r\n");
    EXPECT_FALSE(EsisteFile(m_workFolder / "sport1"));  // the parse deletes the saved page
    EXPECT_FALSE(m_window->StatusText().isEmpty());

    ServePage(kPageSingleLine);
    ASSERT_TRUE(m_window->AggiornaTelevideo());
    EXPECT_EQ(SlotFile(1), firstSlot);
    EXPECT_EQ(ReadWholeFile(ProgramFile("video2.txt")), firstCombined);
}

TEST_F(CycleTest, ConfigurationCopyHoldsExactlyTheDownloadedBytes) {
    ServePage(kPageSingleLine);
    m_store.SetSelection(0, "OLD;");
    m_server.Serve(kConfigTarget, Answer(200, "01=", "text/plain"));
    ASSERT_TRUE(m_window->AggiornaTelevideo());
    EXPECT_EQ(ReadWholeFile(ProgramFile("qesa.ris")), "01=");
    EXPECT_EQ(m_store.Selection(0), "");

    m_store.SetSelection(0, "SERIE A;");
    m_server.Serve(kConfigTarget, Answer(200, {}, "text/plain"));
    ASSERT_TRUE(m_window->AggiornaTelevideo());
    EXPECT_EQ(ReadWholeFile(ProgramFile("qesa.ris")), "qesa\r\n");
    EXPECT_EQ(m_store.Selection(0), "SERIE A;");
    EXPECT_EQ(SlotFile(1), kSerieA);
}

TEST_F(CycleTest, ButtonLineWithoutColonDoesNotStopTheCycle) {
    ServePage(kPageSingleLine);
    m_server.Serve(kConfigTarget, Answer(200, "13=NoTarget\r\n02=SERIE A;\r\n12=news\r\n", "text/plain"));
    ASSERT_TRUE(m_window->AggiornaTelevideo());
    EXPECT_EQ(m_store.Selection(1), "SERIE A;");
    EXPECT_EQ(m_targets.ticker, "news");
    EXPECT_EQ(SlotFile(2), kSerieA);
}

TEST_F(CycleTest, TriggersDuringACycleAreDroppedNotInterleaved) {
    m_server.Serve(kConfigTarget, Delayed(Answer(200, "01=SERIE A;\r\n", "text/plain"), 300));
    m_server.Serve(kPageTarget, Delayed(Answer(200, kPageSingleLine), 1000));
    // An F5 inside the configuration download, another inside the page wait,
    // and Timer1 ticks all along.
    std::vector<bool> answers;
    for (int atMs : {100, 800}) {
        QTimer::singleShot(atMs, m_window.get(), [&] { answers.push_back(m_window->AggiornaTelevideo()); });
    }
    m_window->SetTimer1Interval(5000);  // 500 ms at this time scale
    EXPECT_TRUE(m_window->AggiornaTelevideo());
    EXPECT_EQ(answers, (std::vector<bool>{false, false}));
    EXPECT_EQ(m_server.Hits(kConfigTarget), 1) << "a second cycle downloaded the configuration";
    EXPECT_EQ(m_server.Hits(kPageTarget), 1);
    EXPECT_EQ(m_window->Timer1Interval(), 5000) << "a tick ran a cycle inside the running one";
}

// New versions at the feed while a cycle runs: exactly one more cycle right
// after it, on the newest version.
TEST_F(CycleTest, RunNowDuringACycleRunsOneMoreOnTheNewestVersion) {
    const QString versioned = kPageTarget + QStringLiteral("&v=");
    for (const char* version : {"5", "7"})
        m_server.Serve(versioned + QLatin1String(version), Delayed(Answer(200, kPageSingleLine), 300));
    int cycles = 0;
    QObject::connect(m_window.get(), &UpdateCycle::cycleFinished, [&] { ++cycles; });
    m_window->RunNow(5);
    QTimer::singleShot(150, m_window.get(), [&] {
        m_window->RunNow(7);
        m_window->RunNow(6);
        m_window->RunNow();
    });
    ASSERT_TRUE(testing::WaitUntil([&] { return cycles == 2; }, 10000));
    testing::WaitUntil([] { return false; }, 300);
    EXPECT_EQ(cycles, 2);
    EXPECT_EQ(m_server.Hits(versioned + QStringLiteral("5")), 1);
    EXPECT_EQ(m_server.Hits(versioned + QStringLiteral("7")), 1);
    EXPECT_EQ(m_server.Hits(kPageTarget), 0);
    EXPECT_EQ(SlotFile(1), kSerieA);
}

// Cycles that fail at once (nothing listens) must not follow each other a
// tick apart: a tick starts one only a cycle length after the previous start.
TEST_F(CycleTest, Timer1StartsCyclesNoCloserThanACycleLength) {
    m_window.reset();
    SetTimeScale(0.02);  // creation interval 600 ms, cycle length 660 ms, tick 20 ms
    UpdateCycle window(SettingsFor(m_server), m_targets, m_store);
    m_server.Close();
    int cycles = 0;
    QObject::connect(&window, &UpdateCycle::cycleFinished, [&] { ++cycles; });
    ASSERT_TRUE(testing::WaitUntil([&] { return cycles == 1; }, 5000));
    EXPECT_EQ(window.Timer1Interval(), UpdateCycle::kTimer1AfterTickMs);
    testing::WaitUntil([] { return false; }, 4 * 660);
    EXPECT_GE(cycles, 3);
    EXPECT_LE(cycles, 6) << "failed cycles followed each other a tick apart";
    testing::WaitUntil([&] { return !window.CycleRunning(); });
}

struct Failure {
    const char* name;
    std::function<void(testing::TestHttpServer&)> breakServer;
    bool cycleCompletes;
    std::string slotOne;  // the slot file after the cycle; empty = as before
};

TEST_F(CycleTest, FailuresKeepThePreviousResultsUntilTheNextGoodCycle) {
    // A configuration that cannot be had leaves the last one applied, and
    // the page is fetched all the same.
    const Failure failures[] = {
        {"server down", [](auto& s) { s.Close(); }, false, ""},
        {"configuration HTTP 404", [](auto& s) { s.Serve(kConfigTarget, Answer(404, "01=X;\r\n")); }, true, ""},
        {"configuration slower than the time-out",
         [](auto& s) { s.Serve(kConfigTarget, Delayed(Answer(200, "01=X;\r\n"), 4000)); }, true, ""},
        {"configuration over 1 MiB",
         [](auto& s) { s.Serve(kConfigTarget, Answer(200, "01=X;\r\n" + QByteArray(1024 * 1024, ' '))); }, true, ""},
        {"page HTTP 500", [](auto& s) { s.Serve(kPageTarget, Answer(500, kPageSingleLine)); }, false, ""},
        {"page error page", [](auto& s) { s.Serve(kPageTarget, ClosedWithoutAnswer()); }, false, ""},
        {"truncated page",
         [](auto& s) { s.Serve(kPageTarget, Answer(200, kPageSingleLine.left(kPageSingleLine.indexOf("67'")))); }, true,
         "<ITALY-SERIE A> \r\nFT JUVENTUS <2-1> INTER \r\n\r\n"},
        {"binary garbage",
         [](auto& s) {
             QByteArray garbage;
             for (int i = 0; i < 4096; ++i) garbage.append(static_cast<char>((i * 7919) % 256));
             s.Serve(kPageTarget, Answer(200, garbage));
         },
         false, ""},
        {"empty page", [](auto& s) { s.Serve(kPageTarget, Answer(200, {})); }, false, ""},
    };
    m_window.reset();  // each case runs its own window against its own server
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.name);
        testing::TestHttpServer server;
        server.Serve(kConfigTarget, Answer(200, "01=SERIE A;\r\n", "text/plain"));
        server.Serve(kPageTarget, Answer(200, kPageSingleLine));
        UpdateCycle window(SettingsFor(server), m_targets, m_store);
        ASSERT_TRUE(window.AggiornaTelevideo());
        ASSERT_EQ(SlotFile(1), kSerieA);

        const int pageHits = server.Hits(kPageTarget);
        failure.breakServer(server);
        EXPECT_EQ(window.AggiornaTelevideo(), failure.cycleCompletes);
        if (failure.cycleCompletes) {
            EXPECT_EQ(server.Hits(kPageTarget), pageHits + 1);
        }
        EXPECT_EQ(SlotFile(1), failure.slotOne.empty() ? kSerieA : failure.slotOne);
        EXPECT_EQ(m_store.Selection(0), "SERIE A;");
        EXPECT_EQ(ReadWholeFile(ProgramFile("qesa.ris")), "01=SERIE A;\r\n");
    }
}

TEST_F(CycleTest, RecoversOnTheNextGoodCycle) {
    ServePage(kPageSingleLine);
    m_server.Serve(kPageTarget, Answer(500, "down"));
    EXPECT_FALSE(m_window->AggiornaTelevideo());
    EXPECT_FALSE(EsisteFile(ProgramFile("lmVideo1.txt")));
    ServePage(kPageSingleLine);
    EXPECT_TRUE(m_window->AggiornaTelevideo());
    EXPECT_EQ(SlotFile(1), kSerieA);
}

}  // namespace
}  // namespace caltrix
