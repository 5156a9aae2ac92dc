#include "common/Text1252.h"

#include <gtest/gtest.h>

namespace caltrix {
namespace {

TEST(UpperCase1252, MapsEveryLetterOfTheRepertoire) {
    EXPECT_EQ(UpperCase1252("abc xyz"), "ABC XYZ");
    EXPECT_EQ(UpperCase1252("\xE0\xE7\x9A\xFF\x9C\x9E\xFE"), "\xC0\xC7\x8A\x9F\x8C\x8E\xDE");  // à ç š ÿ œ ž þ
    EXPECT_EQ(UpperCase1252("\xF7\xDF\xB4\"1-0"), "\xF7\xDF\xB4\"1-0");  // ÷ ß ´ and signs stay
}

TEST(ReplaceAll, ScansLeftToRightWithoutRescanningInsertedText) {
    EXPECT_EQ(ReplaceAll("a - b - c", " - ", "-"), "a-b-c");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("&", "&", "&&"), "&&");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(TrimSpaces, RemovesOnlyBlanksAtBothEnds) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
}

}  // namespace
}  // namespace caltrix
