#include "acquisition/ParseError.h"
#include "acquisition/TagStripper.h"
#include "common/Text1252.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace caltrix {
namespace {

// The tag loop transcribed step by step, quadratic but obviously right; an
// empty optional stands for the tag-without-end failure.
std::optional<std::string> LiteralTagLoop(std::string line) {
    const auto lastClose = line.rfind('>');
    for (std::size_t i = lastClose == std::string::npos ? 0 : lastClose + 1; i < line.size(); ++i) line[i] = ' ';
    auto a = line.find('<');
    auto b = line.find('>');
    while (a != std::string::npos && b != std::string::npos) {
        if (b < a) {
            b = line.find('>', a);
            if (b == std::string::npos) return std::nullopt;
        }
        line = ReplaceAll(line, line.substr(a, b - a + 1), "\r\n");
        a = line.find('<');
        b = line.find('>');
    }
    line = ReplaceAll(line, "\r\n", "");
    line = ReplaceAll(line, "\r", "");
    return ReplaceAll(line, "\n", "");
}

std::optional<std::string> Stripped(TagStripper& stripper, const std::string& line) {
    try {
        return stripper.Strip(line);
    } catch (const ParseError&) {
        return std::nullopt;
    }
}

TEST(TagStripper, RemovesTagsLikeTheTagLoop) {
    struct Case {
        std::string line;
        std::string stripped;
    };
    const Case cases[] = {
        {"<td>Juventus</td>", "Juventus"},
        {"<b>a</b><b>c</b>", "ac"},            // a repeated tag goes in one step
        {"<td>FT</td>  tail", "FT      "},     // text after the last ">" becomes spaces
        {"no tags at all", "              "},  // no ">": all spaces, same length
        {"", ""},
        {"<i>x<i<i>>", "x"},  // the later tag spans an earlier replacement
        {"a>b<c>", "a>b"},    // a ">" before the first "<" stays
        {"<<<a>>>", ">>"},
        {"1 < 2 <b>x</b>", "1 x"},
        {"line\nwith LF<br>", "linewith LF"},  // a lone LF inside the line goes too
    };
    TagStripper stripper;
    for (const Case& c : cases) {
        EXPECT_EQ(stripper.Strip(c.line), c.stripped) << c.line;
        EXPECT_EQ(LiteralTagLoop(c.line), c.stripped) << c.line;
    }
}

TEST(TagStripper, TagWithoutEndIsAnError) {
    TagStripper stripper;
    // After "<x>" goes, the "<" before the second "x>" has a ">" before it and none after.
    EXPECT_THROW(stripper.Strip("<x>>a<<x>"), ParseError);
    // A lone "<" left without any ">" in the line ends the loop normally.
    EXPECT_EQ(stripper.Strip("<x>a<<x>"), "a<");
    std::string line = "<x>>a<<x>";
    EXPECT_THROW(TogliAngolari(line), ParseError);
}

TEST(TagStripper, TogliAngolariChangesTheLineInPlace) {
    std::string line = "<td class=title>Italy - Serie A</td>";
    TogliAngolari(line);
    EXPECT_EQ(line, "Italy - Serie A");
}

// Lines drawn from small alphabets, so that tags repeat, nest and span
// earlier replacements often.
std::string RandomLine(std::mt19937& random, std::string_view alphabet, std::size_t maxLength) {
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string line(length(random), ' ');
    for (char& c : line) c = alphabet[pick(random)];
    return line;
}

std::string RandomMarkup(std::mt19937& random) {
    static const std::string_view pieces[] = {"<i>", "</i>", "<b>", "x", "<",  ">", "<i",
                                              "i>",  "<<",   ">>",  " ", "\n", "a"};
    std::uniform_int_distribution<std::size_t> count(0, 14);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::string line;
    for (std::size_t n = count(random); n > 0; --n) line += pieces[pick(random)];
    return line;
}

TEST(TagStripper, MatchesTheLiteralLoopOnGeneratedLines) {
    std::mt19937 random(20240611);
    TagStripper stripper;
    int failures = 0;
    for (int i = 0; i < 300000 && failures < 5; ++i) {
        std::string line;
        switch (i % 4) {
        case 0:
            line = RandomLine(random, "<>ab", 24);
            break;
        case 1:
            line = RandomLine(random, "<<>>a\n ", 40);
            break;
        case 2:
            line = RandomMarkup(random);
            break;
        default:
            line = RandomLine(random, "<>ia", 80);
            break;
        }
        const auto expected = LiteralTagLoop(line);
        const auto actual = Stripped(stripper, line);
        if (expected != actual) {
            ++failures;
            ADD_FAILURE() << "line \"" << line << "\": expected " << (expected ? "\"" + *expected + "\"" : "error")
                          << ", got " << (actual ? "\"" + *actual + "\"" : "error");
        }
    }
}

}  // namespace
}  // namespace caltrix
