// Text operations on Windows-1252 byte strings, and the program's one
// conversion between Windows-1252 and Unicode.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace caltrix {

// Conversion between Windows-1252 and Unicode. The five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the
// control characters of the same number, as browsers read them, so any byte
// string converts to Unicode and back unchanged. A character that
// Windows-1252 lacks, and each broken UTF-8 sequence, becomes one
// kUnmappable1252.
inline constexpr char kUnmappable1252 = '?';

char32_t CharacterOf1252(char byte);
// The byte of `character`; nullopt when Windows-1252 lacks it.
std::optional<char> ByteOf1252(char32_t character);

std::string Utf8From1252(std::string_view bytes);
std::string Utf8To1252(std::string_view utf8);

// The character of the UTF-8 sequence at `at`, moving `at` past it; U+FFFD
// for a broken or overlong sequence, past which `at` moves by one byte.
char32_t NextUtf8Character(std::string_view utf8, std::size_t& at);

// Upper-cases every letter of the Windows-1252 repertoire (a-z, à-þ but ÷,
// š ž œ ÿ); other bytes are kept.
char UpperCase1252(char c);
std::string UpperCase1252(std::string_view text);
// UpperCase1252 of every byte, looked up rather than worked out, for long texts.
const std::array<char, 256>& UpperCase1252Table();

// True for a letter of the Windows-1252 repertoire: A-Z, a-z, the accented
// letters, Š š Œ œ Ž ž Ÿ ÿ, ª º µ ß.
bool IsLetter1252(char c);

// True when `word` lies wholly within the first `within` characters of `text`
// as a whole word: the characters next to it, where there are any, are not
// letters (the one after it may lie beyond `within`).
bool WordWithin(std::string_view text, std::size_t within, std::string_view word);

// `text` begins with `word` as a whole word ("PEN." and "PEN 4-3" do, "PENAFIEL" does not).
bool StartsWithWord(std::string_view text, std::string_view word);

// `text` begins, after any blanks, with a minute mark: one to three digits,
// possibly a stoppage time ("45+2"), then `mark` (the apostrophe of a page,
// the double quote of a result line).
bool StartsWithMinuteMark(std::string_view text, char mark);

// Replaces every occurrence of `from` scanning left to right without
// overlaps; inserted text is not scanned again. An empty `from` changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Removes leading and trailing blanks (the space character only).
std::string_view TrimSpaces(std::string_view text);

bool Contains(std::string_view text, std::string_view part);
bool StartsWith(std::string_view text, std::string_view prefix);

// The first `count` characters (all of them when shorter).
std::string_view Left(std::string_view text, std::size_t count);

}  // namespace caltrix
