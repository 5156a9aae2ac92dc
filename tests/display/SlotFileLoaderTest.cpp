#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string_view>

#include "TestBench.h"
#include "display/core/SlotFileLoader.h"
#include "display/core/LinePreparation.h"

namespace caltrix::test {
namespace {

const std::string k19Blanks(19, ' ');

struct Preparazione {
    const char* line;
    std::string attesa;
};

class PreparaRigaTest : public ::testing::TestWithParam<Preparazione> {};

TEST_P(PreparaRigaTest, TransformsTheLine) { EXPECT_EQ(PrepareLine(GetParam().line), GetParam().attesa); }

INSTANTIATE_TEST_SUITE_P(Lines, PreparaRigaTest,
                         ::testing::Values(
                             // score moved behind the padded team part, then "(ABC)" removed
                             Preparazione{"alfa (abc) <2 - 1> beta & co", "ALFA -BETA && CO" + k19Blanks + "2 - 1"},
                             Preparazione{"FT JUVENTUS <2-1> INTER ", Partita("FT JUVENTUS-INTER ", "2-1")},
                             // no score cell: only upper case, "&&" and parentheses apply
                             Preparazione{"ft a<1-0> b", "FT A<1-0> B"}, Preparazione{"x> y <1-0", "X> Y <1-0"},
                             Preparazione{"a > b <c", "A > B <C"},
                             // accented letters are upper-cased too
                             Preparazione{"m\xe9xico <1-0> \xfc"
                                          "ber",
                                          Partita("M\xc9XICO-\xdc"
                                                  "BER",
                                                  "1-0")},
                             // a team part of 45 characters is cut to 40 and the score follows directly
                             Preparazione{"ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ1234 <3-0> Z",
                                          "ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ3-0"},
                             // an empty score cell
                             Preparazione{"A <> B", Partita("A-B", "")}, Preparazione{"", ""}));

struct Parentesi {
    const char* text;
    const char* atteso;
};

class TogliParTest : public ::testing::TestWithParam<Parentesi> {};

TEST_P(TogliParTest, RemovesParenthesisedParts) { EXPECT_EQ(TogliPar(GetParam().text), GetParam().atteso); }

INSTANTIATE_TEST_SUITE_P(Texts, TogliParTest,
                         ::testing::Values(Parentesi{"A (B) C (D) E", "A  C  E"}, Parentesi{"A (B", "A (B"},
                                           Parentesi{"A) (B) C", "A)  C"}, Parentesi{"((A) B) C", " B) C"},
                                           Parentesi{"()", ""}, Parentesi{"(A) (B", " (B"},
                                           Parentesi{"NO PARENTHESES", "NO PARENTHESES"}));

TEST(RigheVideoTest, KeepsTheListInvariantAndIgnoresEmptyLoads) {
    RigheVideo lines;
    EXPECT_EQ(lines.Count(3), 0);
    EXPECT_EQ(lines.Line(3, 0), nullptr);

    lines.Replace(3, {"A", "B", "C"});
    EXPECT_EQ(lines.Count(3), 4);
    const char* attese[] = {"", "A", "B", "C", ""};
    for (int i = 0; i <= 4; ++i) {
        ASSERT_NE(lines.Line(3, i), nullptr) << i;
        EXPECT_EQ(*lines.Line(3, i), attese[i]) << i;
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
    void Scrivi(int number, const std::string& bytes) { folder.Scrivi(Nome(number), bytes); }
    static std::string Nome(int number) { return "lmVideo" + std::to_string(number) + ".txt"; }

    Cartella folder;
    RigheVideo lines;
    SlotFileLoader loader{folder.Path(), lines};
};

TEST_F(CaricatoreTest, StoresThePreparedLinesOfASlotFile) {
    Scrivi(2, "<italy-serie a> \r\nft juventus <2-1> inter \r\n\r\n");
    EXPECT_EQ(loader.CaricaVideo(2), std::nullopt);
    EXPECT_EQ(lines.Count(2), 4);
    EXPECT_EQ(*lines.Line(2, 1), "<ITALY-SERIE A> ");
    EXPECT_EQ(*lines.Line(2, 2), Partita("FT JUVENTUS-INTER ", "2-1"));
    EXPECT_EQ(*lines.Line(2, 3), "");
    EXPECT_EQ(*lines.Line(2, 4), "");
}

TEST_F(CaricatoreTest, SplitsAtCrLfAndLoneCrButNotAtLoneLf) {
    Scrivi(1, "a\rb\nc\r\n");
    loader.CaricaVideo(1);
    EXPECT_EQ(lines.Count(1), 3);
    EXPECT_EQ(*lines.Line(1, 2), "B\nC");
}

TEST_F(CaricatoreTest, AnEmptyFileKeepsTheSlotsLines) {
    Scrivi(5, "a\r\nb\r\n");
    loader.CaricaVideo(5);
    Scrivi(5, "");
    EXPECT_EQ(loader.CaricaVideo(5), std::nullopt);
    EXPECT_EQ(lines.Count(5), 3);
    EXPECT_EQ(*lines.Line(5, 2), "B");
}

TEST_F(CaricatoreTest, AFolderFifoOrOversizedFileIsSkippedWithAMessage) {
    Scrivi(4, "a\r\n");
    loader.CaricaVideo(4);
    const auto file = folder.Path() / Nome(4);
    for (const std::string_view caso : {"folder", "fifo", "oversized"}) {
        std::filesystem::remove(file);
        if (caso == "folder") std::filesystem::create_directory(file);
        if (caso == "fifo") {
            ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);  // opening it must not wait for a writer
        }
        if (caso == "oversized") Scrivi(4, std::string(SlotFileLoader::kMaxFileBytes + 1, 'x'));

        const auto error = loader.CaricaVideo(4);
        ASSERT_TRUE(error.has_value()) << caso;
        EXPECT_NE(error->find(Nome(4)), std::string::npos) << *error;
        EXPECT_EQ(lines.Count(4), 2) << caso;
        EXPECT_EQ(*lines.Line(4, 1), "A") << caso;
    }
}

TEST_F(CaricatoreTest, NumeroVideoRunsOneToElevenThenZeroAndSkipsMissingFiles) {
    Scrivi(0, "zero\r\n");
    Scrivi(1, "one\r\n");
    for (int expected = 1; expected <= 11; ++expected) {
        EXPECT_EQ(loader.CaricaProssimoVideo(), std::nullopt);
        EXPECT_EQ(loader.NumeroVideo(), expected);
    }
    EXPECT_EQ(lines.Count(1), 2);
    EXPECT_EQ(lines.Count(2), 0);

    Scrivi(1, "uno\r\ndue\r\n");
    EXPECT_EQ(loader.CaricaProssimoVideo(), std::nullopt);
    EXPECT_EQ(loader.NumeroVideo(), 0);  // lmVideo0.txt read, lines dropped
    for (int k = 1; k <= 11; ++k) EXPECT_EQ(lines.Count(k), k == 1 ? 2 : 0) << k;

    loader.CaricaProssimoVideo();
    EXPECT_EQ(loader.NumeroVideo(), 1);
    EXPECT_EQ(*lines.Line(1, 2), "DUE");
}

}  // namespace
}  // namespace caltrix::test
