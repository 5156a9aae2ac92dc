#include "common/Text1252.h"

#include <gtest/gtest.h>

namespace caltrix {
namespace {

TEST(Conversion1252, EveryByteRoundTripsAndACharacterOutsideBecomesOneQuestionMark) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    EXPECT_EQ(Utf8To1252(Utf8From1252(everyByte)), everyByte);
    // The euro sign, two undefined bytes as their control characters, ÿ.
    EXPECT_EQ(Utf8From1252("\x80\x81\x9D\xFF"), "\xE2\x82\xAC\xC2\x81\xC2\x9D\xC3\xBF");
    EXPECT_EQ(Utf8To1252("Ł ź 漢 😀 ó"), "? ? ? ? \xF3");
    EXPECT_EQ(Utf8To1252("x\xC3 y\xE2\x82 z\xC0\xAF"), "x? y?? z??");  // each byte of broken UTF-8
}

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
