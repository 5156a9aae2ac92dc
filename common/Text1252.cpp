#include "common/Text1252.h"

#include <algorithm>
#include <array>

namespace caltrix {
namespace {

// The characters of bytes 0x80..0x9F; the undefined ones stand for themselves.
constexpr std::array<char32_t, 32> kCharactersFrom0x80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacementCharacter = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    const auto unit = [](char32_t bits) { return static_cast<char>(bits); };
    if (c < 0x80) {
        out += unit(c);
    } else if (c < 0x800) {
        out += unit(0xC0 | (c >> 6));
        out += unit(0x80 | (c & 0x3F));
    } else {  // every character of Windows-1252 lies below U+10000
        out += unit(0xE0 | (c >> 12));
        out += unit(0x80 | ((c >> 6) & 0x3F));
        out += unit(0x80 | (c & 0x3F));
    }
}

// `word` stands at `at` in `text`, which holds enough characters. A plain
// loop: for a word of a few bytes, cheaper than a call to memcmp.
bool HoldsAt(std::string_view text, std::size_t at, std::string_view word) {
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (text[at + i] != word[i]) return false;
    }
    return true;
}

std::size_t DigitsAt(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return end - at;
}

}  // namespace

char32_t CharacterOf1252(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return b >= 0x80 && b < 0xA0 ? kCharactersFrom0x80[b - 0x80] : b;
}

std::optional<char> ByteOf1252(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<char>(character);
    const auto* found = std::find(kCharactersFrom0x80.begin(), kCharactersFrom0x80.end(), character);
    if (found == kCharactersFrom0x80.end()) return std::nullopt;
    return static_cast<char>(0x80 + (found - kCharactersFrom0x80.begin()));
}

std::string Utf8From1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes) AppendUtf8(out, CharacterOf1252(byte));
    return out;
}

std::string Utf8To1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();)
        out += ByteOf1252(NextUtf8Character(utf8, at)).value_or(kUnmappable1252);
    return out;
}

char32_t NextUtf8Character(std::string_view utf8, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at++]);
    if (lead < 0x80) return lead;
    std::size_t extra = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0)
        extra = 1, c = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0)
        extra = 2, c = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0)
        extra = 3, c = lead & 0x07;
    else
        return kReplacementCharacter;
    if (utf8.size() - at < extra) return kReplacementCharacter;
    for (std::size_t i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(utf8[at + i]);
        if ((next & 0xC0) != 0x80) return kReplacementCharacter;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacementCharacter;
    at += extra;
    return c;
}

char UpperCase1252(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 0x20);  // à..þ but ÷
    switch (b) {
    case 0x9A:
        return static_cast<char>(0x8A);  // š -> Š
    case 0x9C:
        return static_cast<char>(0x8C);  // œ -> Œ
    case 0x9E:
        return static_cast<char>(0x8E);  // ž -> Ž
    case 0xFF:
        return static_cast<char>(0x9F);  // ÿ -> Ÿ
    default:
        return c;
    }
}

bool IsLetter1252(char c) {
    if (UpperCase1252(c) != c) return true;  // a-z, à..þ but ÷, š œ ž ÿ
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF && b != 0xD7) || b == 0x8A || b == 0x8C || b == 0x8E ||
           b == 0x9F || b == 0xAA || b == 0xB5 || b == 0xBA;
}

bool WordWithin(std::string_view text, std::size_t within, std::string_view word) {
    const std::size_t limit = std::min(within, text.size());
    for (std::size_t at = 0; at + word.size() <= limit; ++at) {
        if (!HoldsAt(text, at, word)) continue;
        const std::size_t end = at + word.size();
        if ((at == 0 || !IsLetter1252(text[at - 1])) && (end == text.size() || !IsLetter1252(text[end]))) return true;
    }
    return false;
}

bool StartsWithWord(std::string_view text, std::string_view word) { return WordWithin(text, word.size(), word); }

bool StartsWithMinuteMark(std::string_view text, char mark) {
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string_view::npos) return false;
    const std::size_t minute = DigitsAt(text, at);
    if (minute < 1 || minute > 3) return false;
    at += minute;
    if (at < text.size() && text[at] == '+') {
        const std::size_t added = DigitsAt(text, at + 1);
        if (added < 1 || added > 2) return false;
        at += 1 + added;
    }
    return at < text.size() && text[at] == mark;
}

const std::array<char, 256>& UpperCase1252Table() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> upper{};
        for (std::size_t b = 0; b < upper.size(); ++b) upper[b] = UpperCase1252(static_cast<char>(b));
        return upper;
    }();
    return table;
}

std::string UpperCase1252(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperCase1252(c);
    return out;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (auto hit = text.find(from); hit != std::string_view::npos; hit = text.find(from, start)) {
        out.append(text.substr(start, hit - start));
        out.append(to);
        start = hit + from.size();
    }
    out.append(text.substr(start));
    return out;
}

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string_view Left(std::string_view text, std::size_t count) { return text.substr(0, count); }

}  // namespace caltrix
