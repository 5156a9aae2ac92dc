#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string_view>

#include "TestBench.h"
#include "display/SlotFileLoader.h"
#include "display/LinePreparation.h"

namespace caltrix::test {
namespace {

const std::string k19Blanks(19, ' ');

struct Preparation {
    const char* line;
    std::string expected;
};

class PrepareLineTest : public ::testing::TestWithParam<Preparation> {};

TEST_P(PrepareLineTest, TransformsTheLine) { EXPECT_EQ(PrepareLine(GetParam().line), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Lines, PrepareLineTest,
                         ::testing::Values(
                             // score moved behind the padded team part, then "(ABC)" removed
                             Preparation{"alfa (abc) <2 - 1> beta & co", "ALFA -BETA && CO" + k19Blanks + "2 - 1"},
                             Preparation{"FT JUVENTUS <2-1> INTER ", MatchLine("FT JUVENTUS-INTER ", "2-1")},
                             // no score cell: only upper case, "&&" and parentheses apply
                             Preparation{"ft a<1-0> b", "FT A<1-0> B"}, Preparation{"x> y <1-0", "X> Y <1-0"},
                             Preparation{"a > b <c", "A > B <C"},
                             // accented letters are upper-cased too
                             Preparation{"m\xe9xico <1-0> \xfc"
                                         "ber",
                                         MatchLine("M\xc9XICO-\xdc"
                                                   "BER",
                                                   "1-0")},
                             // a team part of 45 characters is cut to 40 and the score follows directly
                             Preparation{"ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ1234 <3-0> Z",
                                         "ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ3-0"},
                             // an empty score cell
                             Preparation{"A <> B", MatchLine("A-B", "")}, Preparation{"", ""}));

struct Parentheses {
    const char* text;
    const char* expected;
};

class TogliParTest : public ::testing::TestWithParam<Parentheses> {};

TEST_P(TogliParTest, RemovesParenthesisedParts) { EXPECT_EQ(TogliPar(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Texts, TogliParTest,
                         ::testing::Values(Parentheses{"A (B) C (D) E", "A  C  E"}, Parentheses{"A (B", "A (B"},
                                           Parentheses{"A) (B) C", "A)  C"}, Parentheses{"((A) B) C", " B) C"},
                                           Parentheses{"()", ""}, Parentheses{"(A) (B", " (B"},
                                           Parentheses{"NO PARENTHESES", "NO PARENTHESES"}));

TEST(RigheVideoTest, KeepsTheListInvariantAndIgnoresEmptyLoads) {
    RigheVideo lines;
    EXPECT_EQ(lines.Count(3), 0);
    EXPECT_EQ(lines.Line(3, 0), nullptr);

    lines.Replace(3, {"A", "B", "C"});
    EXPECT_EQ(lines.Count(3), 4);
    const char* expected[] = {"", "A", "B", "C", ""};
    for (int i = 0; i <= 4; ++i) {
        ASSERT_NE(lines.Line(3, i), nullptr) << i;
        EXPECT_EQ(*lines.Line(3, i), expected[i]) << i;
    }
    EXPECT_EQ(lines.Line(3, 5), nullptr);

    lines.Replace(3, {});
    EXPECT_EQ(lines.Count(3), 4);
    EXPECT_EQ(*lines.Line(3, 2), "B");

    lines.Clear(3);
    EXPECT_EQ(lines.Count(3), 0);
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(*lines.Line(3, i), "") << i;
}

class CaricatoreTest : public ::testing::Test {
protected:
    void Write(int number, const std::string& bytes) { WriteWholeFile(folder / FileName(number), bytes); }
    static std::string FileName(int number) { return "lmVideo" + std::to_string(number) + ".txt"; }

    testing::TempFolder folder;
    RigheVideo lines;
    SlotFileLoader loader{folder.path(), lines};
};

TEST_F(CaricatoreTest, StoresThePreparedLinesOfASlotFile) {
    Write(2, "<italy-serie a> \r\nft juventus <2-1> inter \r\n\r\n");
    EXPECT_EQ(loader.CaricaVideo(2), std::nullopt);
    EXPECT_EQ(lines.Count(2), 4);
    EXPECT_EQ(*lines.Line(2, 1), "<ITALY-SERIE A> ");
    EXPECT_EQ(*lines.Line(2, 2), MatchLine("FT JUVENTUS-INTER ", "2-1"));
    EXPECT_EQ(*lines.Line(2, 3), "");
    EXPECT_EQ(*lines.Line(2, 4), "");
}

// The lines are split by the program's one line rule (tested with it).
TEST_F(CaricatoreTest, AnEmptyFileKeepsTheLines) {
    Write(5, "a\rb\nc\r\n");
    loader.CaricaVideo(5);
    EXPECT_EQ(lines.Count(5), 3);
    EXPECT_EQ(*lines.Line(5, 2), "B\nC");
    Write(5, "");
    EXPECT_EQ(loader.CaricaVideo(5), std::nullopt);
    EXPECT_EQ(lines.Count(5), 3);
    EXPECT_EQ(*lines.Line(5, 2), "B\nC");
}

TEST_F(CaricatoreTest, AFolderFifoOrOversizedFileIsSkippedWithAMessage) {
    Write(4, "a\r\n");
    loader.CaricaVideo(4);
    const auto file = folder / FileName(4);
    for (const std::string_view testCase : {"folder", "fifo", "oversized"}) {
        std::filesystem::remove(file);
        if (testCase == "folder") std::filesystem::create_directory(file);
        if (testCase == "fifo") {
            ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);  // opening it must not wait for a writer
        }
        if (testCase == "oversized") Write(4, std::string(SlotFileLoader::kMaxFileBytes + 1, 'x'));

        const auto error = loader.CaricaVideo(4);
        ASSERT_TRUE(error.has_value()) << testCase;
        EXPECT_NE(error->find(FileName(4)), std::string::npos) << *error;
        EXPECT_EQ(lines.Count(4), 2) << testCase;
        EXPECT_EQ(*lines.Line(4, 1), "A") << testCase;
    }
}

TEST_F(CaricatoreTest, NumeroVideoRunsOneToElevenThenZeroAndSkipsMissingFiles) {
    Write(0, "zero\r\n");
    Write(1, "one\r\n");
    for (int expected = 1; expected <= 11; ++expected) {
        EXPECT_EQ(loader.CaricaProssimoVideo(), std::nullopt);
        EXPECT_EQ(loader.NumeroVideo(), expected);
    }
    EXPECT_EQ(lines.Count(1), 2);
    EXPECT_EQ(lines.Count(2), 0);

    Write(1, "uno\r\ndue\r\n");
    EXPECT_EQ(loader.CaricaProssimoVideo(), std::nullopt);
    EXPECT_EQ(loader.NumeroVideo(), 0);  // lmVideo0.txt read, lines dropped
    for (int k = 1; k <= 11; ++k) EXPECT_EQ(lines.Count(k), k == 1 ? 2 : 0) << k;

    loader.CaricaProssimoVideo();
    EXPECT_EQ(loader.NumeroVideo(), 1);
    EXPECT_EQ(*lines.Line(1, 2), "DUE");
}

}  // namespace
}  // namespace caltrix::test
