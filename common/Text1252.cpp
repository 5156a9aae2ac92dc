#include "common/Text1252.h"

#include <algorithm>

namespace caltrix {
namespace {

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
