#include "acquisition/CercaNotizie.h"
#include "acquisition/ClosingStep.h"

#include "Fixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace caltrix {
namespace {

using testing::Fixture;
using testing::TempFolder;

class CercaNotizieTest : public ::testing::Test {
protected:
    std::filesystem::path SavePage(std::string_view bytes) const {
        const auto page = m_work / "sport1";
        WriteWholeFile(page, bytes);
        return page;
    }

    ParseReport Run(std::string_view pageBytes) {
        return CercaNotizie(SavePage(pageBytes), m_titles, m_selections, m_program.path());
    }

    std::string Slot(int k) const { return ReadWholeFile(SlotFileName(m_program.path(), k)); }
    std::string Combined(int n) const { return ReadWholeFile(CombinedFileName(m_program.path(), n)); }

    TempFolder m_program;
    TempFolder m_work;
    TitleList m_titles;
    std::array<std::string, kSlotCount> m_selections;
};

TEST_F(CercaNotizieTest, PageToResultFilesByteForByte) {
    m_selections[0] = "SERIEA;";
    m_selections[1] = "ITALY;";
    m_selections[2] = "premier league;serie b;";
    m_selections[3] = "SERIEA";
    m_selections[4] = ";;";
    const ParseReport report = Run(Fixture("live_page.htm"));

    EXPECT_TRUE(report.pageFound);
    EXPECT_EQ(report.combinedFile, CombinedFileName(m_program.path(), 1));
    EXPECT_EQ(report.competitions, 3u);
    EXPECT_EQ(report.matches, 4u);
    EXPECT_EQ(m_titles.size(), 4u);
    EXPECT_EQ(Combined(1), Fixture("live_page.video.txt"));
    EXPECT_EQ(Slot(1), Fixture("live_page.serie_a.txt"));
    EXPECT_EQ(Slot(2), Fixture("live_page.italy.txt"));
    EXPECT_EQ(Slot(3), Fixture("live_page.premier_serie_b.txt"));
    EXPECT_EQ(Slot(4), "\r\n");
    EXPECT_EQ(Slot(5), Fixture("live_page.everything.txt"));
    for (int k = 6; k <= kSlotCount; ++k) EXPECT_EQ(Slot(k), "\r\n") << k;
    EXPECT_FALSE(std::filesystem::exists(m_work / "sport1"));
}

// Penafiel, FTC, Getafe, Betis, Metz, Ethnikos and M'gladbach are team names,
// not status words: each match stays on one line; "90+2'" is a minute.
TEST_F(CercaNotizieTest, TeamNamesLikeStatusWordsStayInTheirMatchLine) {
    Run(Fixture("team_names.htm"));
    EXPECT_EQ(Combined(1), Fixture("team_names.video.txt"));
}

TEST_F(CercaNotizieTest, MissingPageWritesNothing) {
    const ParseReport report = CercaNotizie(m_work / "sport1", m_titles, m_selections, m_program.path());
    EXPECT_FALSE(report.pageFound);
    EXPECT_TRUE(std::filesystem::is_empty(m_program.path()));
}

TEST_F(CercaNotizieTest, PageWithoutTitlesGivesOneEmptyLinePerFile) {
    m_selections[0] = ";;";
    Run("<td>FT</td>\r\n<td>Juventus</td>\r\n");
    EXPECT_EQ(Combined(1), "\r\n");
    EXPECT_EQ(Slot(1), "\r\n");
}

TEST_F(CercaNotizieTest, EachParseTakesTheNextCombinedFile) {
    Run("<td class=title>Italy - Serie A</td>\r\n<td>FT</td>\r\n");
    Run("<td class=title>Italy - Serie A</td>\r\n<td>HT</td>\r\n");
    const ParseReport third = Run("<td class=title>Italy - Serie A</td>\r\n<td>67'</td>\r\n");
    EXPECT_EQ(third.combinedFile, CombinedFileName(m_program.path(), 3));
    EXPECT_EQ(Combined(3), "\r\n<ITALY-SERIE A> \r\n67\"\r\n");
    EXPECT_TRUE(std::filesystem::exists(CombinedFileName(m_program.path(), 1)));
    EXPECT_TRUE(std::filesystem::exists(CombinedFileName(m_program.path(), 2)));
}

TEST_F(CercaNotizieTest, SlotFilesFollowEveryParseEvenWhenTheirSizeStaysTheSame) {
    m_selections[0] = "SERIEA;";
    m_selections[1] = "LIGA;";
    Run("<td class=title>Italy - Serie A</td>\r\n<td>67'</td>\r\n<td class=title>Spain - Liga</td>\r\n<td>FT</td>\r\n");
    Run("<td class=title>Italy - Serie A</td>\r\n<td>68'</td>\r\n<td class=title>Spain - Liga</td>\r\n<td>FT</td>\r\n");
    EXPECT_EQ(Slot(1), "<ITALY-SERIE A> \r\n68\"\r\n\r\n");
    EXPECT_EQ(Slot(2), "<SPAIN-LIGA> \r\nFT \r\n\r\n");
    for (int k = 3; k <= kSlotCount; ++k) EXPECT_EQ(Slot(k), "\r\n") << k;
}

TEST_F(CercaNotizieTest, WithAllCombinedFilesTakenTheOldestIsReused) {
    const auto now = std::filesystem::file_time_type::clock::now();
    for (int n = 1; n <= kCombinedFileLimit; ++n) {
        const auto file = CombinedFileName(m_program.path(), n);
        WriteWholeFile(file, "old\r\n");
        std::filesystem::last_write_time(file, now - std::chrono::hours(n == 537 ? 2 : 1));
    }
    const ParseReport report = Run("<td class=title>Italy - Serie A</td>\r\n");
    EXPECT_EQ(report.combinedFile, CombinedFileName(m_program.path(), 537));
    EXPECT_EQ(Combined(537), "\r\n<ITALY-SERIE A> \r\n");
    EXPECT_EQ(ChooseCombinedFile(m_program.path()), CombinedFileName(m_program.path(), 1));
    EXPECT_FALSE(std::filesystem::exists(CombinedFileName(m_program.path(), kCombinedFileLimit + 1)));
}

TEST_F(CercaNotizieTest, SlotFileFailingTwiceEndsTheParseAfterOneRetry) {
    for (int k = 1; k <= kSlotCount; ++k) WriteWholeFile(SlotFileName(m_program.path(), k), "previous\r\n");
    const auto slot3 = SlotFileName(m_program.path(), 3);
    std::filesystem::remove(slot3);
    std::filesystem::create_directory(slot3);  // the slot file cannot be written

    EXPECT_THROW(Run("<td class=title>Italy - Serie A</td>\r\n"), FileError);
    // The retry took the next combined file; slots before the failure were rewritten.
    EXPECT_TRUE(std::filesystem::exists(CombinedFileName(m_program.path(), 1)));
    EXPECT_TRUE(std::filesystem::exists(CombinedFileName(m_program.path(), 2)));
    EXPECT_FALSE(std::filesystem::exists(CombinedFileName(m_program.path(), 3)));
    EXPECT_EQ(Slot(2), "\r\n");
    EXPECT_EQ(Slot(4), "previous\r\n");
    EXPECT_TRUE(std::filesystem::exists(m_work / "sport1"));
}

TEST_F(CercaNotizieTest, CombinedFileFailingTwiceRewritesNoSlotFile) {
    WriteWholeFile(SlotFileName(m_program.path(), 1), "previous\r\n");
    std::filesystem::create_directory(CombinedFileName(m_program.path(), 1));
    EXPECT_THROW(Run("<td class=title>Italy - Serie A</td>\r\n"), FileError);
    EXPECT_EQ(Slot(1), "previous\r\n");
}

TEST_F(CercaNotizieTest, ParseErrorKeepsThePreviousResults) {
    WriteWholeFile(SlotFileName(m_program.path(), 1), "previous\r\n");
    EXPECT_THROW(Run("<td class=title>A - B</td>\r\n<x>>a<<x>\r\n"), ParseError);
    EXPECT_EQ(Slot(1), "previous\r\n");
    EXPECT_FALSE(std::filesystem::exists(CombinedFileName(m_program.path(), 1)));
}

}  // namespace
}  // namespace caltrix
