#include "common/ResultText.h"

#include "common/Text1252.h"

#include <algorithm>
#include <array>
#include <utility>

namespace caltrix {
namespace {

using Substitution = std::pair<std::string_view, std::string_view>;

constexpr std::array<Substitution, 3> kBeforeUpperCase{{
    {" - ", "-"},
    {"&amp;", "&"},
    {"Regional", "REG."},
}};
constexpr std::array<Substitution, 5> kAfterUpperCase{{
    {"LEAGUE-GROUP", "LEAGUE-GR."},
    {"REPUBLIC-GAMBRINUS", "REPUBLIC GAM."},
    {" -", "-"},
    {"' ", "\""},
    {"TA\xC7"
     "A DE PORTUGAL",
     "TA\xC7"
     "A PORTUGAL"},
}};

// The byte of `pattern` to search for first: letters and spaces fill the
// result text, so a byte that is neither stops the search far less often.
std::size_t AnchorOf(std::string_view pattern) {
    const auto isLetterOrSpace = [](char c) { return c == ' ' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const auto anchor = std::find_if_not(pattern.begin(), pattern.end(), isLetterOrSpace);
    return anchor == pattern.end() ? 0 : static_cast<std::size_t>(anchor - pattern.begin());
}

// The first occurrence of `pattern` (not empty) that begins at `from` or later.
std::size_t FindFrom(std::string_view text, std::string_view pattern, std::size_t anchor, std::size_t from) {
    for (auto at = text.find(pattern[anchor], from + anchor); at != std::string_view::npos;
         at = text.find(pattern[anchor], at + 1)) {
        if (text.substr(at - anchor, pattern.size()) == pattern) return at - anchor;
    }
    return std::string_view::npos;
}

// Replaces every occurrence of `from` left to right without overlaps; the
// text is copied only when `from` occurs.
void ReplaceEvery(std::string& text, std::string_view from, std::string_view to, std::string& scratch) {
    const std::size_t anchor = AnchorOf(from);
    auto hit = FindFrom(text, from, anchor, 0);
    if (hit == std::string_view::npos) return;
    scratch.clear();
    std::size_t start = 0;
    for (; hit != std::string_view::npos; hit = FindFrom(text, from, anchor, start)) {
        scratch.append(text, start, hit - start);
        scratch.append(to);
        start = hit + from.size();
    }
    scratch.append(text, start);
    text.swap(scratch);
}

template <std::size_t N>
void Substitute(std::string& text, const std::array<Substitution, N>& table, std::string& scratch) {
    for (const auto& [from, to] : table) ReplaceEvery(text, from, to, scratch);
}

void UpperCaseInPlace(std::string& text) {
    const auto& upper = UpperCase1252Table();
    for (char& c : text) c = upper[static_cast<unsigned char>(c)];
}

constexpr std::array<Substitution, 6> kNameSubstitutions{{
    {"&nbsp;", ""},
    {"Inter Milan", "Inter"},
    {"AC Milan", "Milan"},
    {"AS Roma", "Roma"},
    {"L'Aquila",
     "L\xB4"
     "Aquila"},
    {"Maccabi Petah", "Maccabi P."},
}};
constexpr std::size_t kTitleSubstitutions = 5;

// The bytes that begin a name pattern; a line without any needs no substitution.
constexpr std::array<bool, 256> FirstBytesOf(const std::array<Substitution, 6>& substitutions) {
    std::array<bool, 256> first{};
    for (const auto& substitution : substitutions) {
        first[static_cast<unsigned char>(substitution.first.front())] = true;
    }
    return first;
}
constexpr std::array<bool, 256> kNameFirstBytes = FirstBytesOf(kNameSubstitutions);

// True when some name pattern occurs in `text` (one pass, comparing only at
// the bytes that begin a pattern).
bool HoldsAnyName(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!kNameFirstBytes[static_cast<unsigned char>(text[at])]) continue;
        const std::string_view rest = text.substr(at);
        for (const auto& substitution : kNameSubstitutions) {
            if (StartsWith(rest, substitution.first)) return true;
        }
    }
    return false;
}

// Steps 1..`count` in order into `out`; each step sees the previous one's result.
void substituteNames(std::string_view text, std::size_t count, std::string& out) {
    out.assign(text);
    if (!HoldsAnyName(text)) return;
    for (std::size_t i = 0; i < count; ++i) {
        const auto& [from, to] = kNameSubstitutions[i];
        if (Contains(out, from)) out = ReplaceAll(out, from, to);
    }
}

}  // namespace

std::string ProcessedLine(std::string_view stripped) {
    std::string out;
    ProcessLine(stripped, out);
    return out;
}

void ProcessLine(std::string_view stripped, std::string& out) {
    substituteNames(stripped, kNameSubstitutions.size(), out);
}

std::string TitleText(std::string_view stripped) {
    std::string title;
    substituteNames(stripped, kTitleSubstitutions, title);
    std::replace(title.begin(), title.end(), '\'', '\xB4');
    return title;
}

std::string ClosedText(std::string_view resultText) {
    std::string text(resultText);
    std::string scratch;
    Substitute(text, kBeforeUpperCase, scratch);
    UpperCaseInPlace(text);
    Substitute(text, kAfterUpperCase, scratch);
    return text;
}

}  // namespace caltrix
