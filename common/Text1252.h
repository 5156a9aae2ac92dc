// Text operations on Windows-1252 byte strings.
#pragma once

#include <string>
#include <string_view>

namespace caltrix {

// Upper-cases every letter of the Windows-1252 repertoire (a-z, à-þ but ÷,
// š ž œ ÿ); other bytes are kept.
char UpperCase1252(char c);
std::string UpperCase1252(std::string_view text);

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
