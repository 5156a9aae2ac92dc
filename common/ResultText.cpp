#include "common/ResultText.h"

#include "common/Text1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

// Replaces every occurrence of `from` left to right without overlaps, in
// place: every replacement here is no longer than its pattern, so the text
// written never overtakes the text still to be searched.
void ReplaceEvery(std::string& text, std::string_view from, std::string_view to) {
    const std::size_t anchor = AnchorOf(from);
    auto hit = FindFrom(text, from, anchor, 0);
    if (hit == std::string_view::npos) return;
    char* const data = text.data();
    std::size_t written = hit;
    std::size_t read = hit;
    for (; hit != std::string_view::npos; hit = FindFrom(text, from, anchor, read)) {
        std::memmove(data + written, data + read, hit - read);
        written += hit - read;
        std::memcpy(data + written, to.data(), to.size());
        written += to.size();
        read = hit + from.size();
    }
    std::memmove(data + written, data + read, text.size() - read);
    text.resize(written + text.size() - read);
}

template <std::size_t N>
constexpr bool NoneGrows(const std::array<Substitution, N>& table) {
    return std::all_of(table.begin(), table.end(),
                       [](const Substitution& s) { return s.second.size() <= s.first.size(); });
}

template <std::size_t N>
void Substitute(std::string& text, const std::array<Substitution, N>& table) {
    for (const auto& [from, to] : table) ReplaceEvery(text, from, to);
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
static_assert(NoneGrows(kBeforeUpperCase) && NoneGrows(kAfterUpperCase) && NoneGrows(kNameSubstitutions));

// For each byte, the steps whose name pattern begins with it.
constexpr std::array<std::uint8_t, 256> FirstBytesOf(const std::array<Substitution, 6>& substitutions) {
    std::array<std::uint8_t, 256> steps{};
    for (std::size_t i = 0; i < substitutions.size(); ++i) {
        steps[static_cast<unsigned char>(substitutions[i].first.front())] |= static_cast<std::uint8_t>(1u << i);
    }
    return steps;
}
constexpr std::array<std::uint8_t, 256> kStepsByFirstByte = FirstBytesOf(kNameSubstitutions);

// Which name patterns occur in `text`, one bit per step: one pass that
// compares only at the bytes that begin a pattern.
unsigned NamesIn(std::string_view text) {
    unsigned found = 0;
    for (std::size_t at = 0; at + 1 < text.size(); ++at) {
        const unsigned steps = kStepsByFirstByte[static_cast<unsigned char>(text[at])];
        if (steps == 0) continue;
        for (std::size_t i = 0; i < kNameSubstitutions.size(); ++i) {
            const std::string_view from = kNameSubstitutions[i].first;
            if ((steps >> i & 1u) && text[at + 1] == from[1] && text.substr(at, from.size()) == from) found |= 1u << i;
        }
    }
    return found;
}

// Steps 1..`count` in order; each step sees the previous one's result. The
// result is `text` itself when no name occurs, else `out`. Only the removal
// of "&nbsp;" can bring a later name together; no name's replacement forms
// another, so the steps after it run only for the names found.
std::string_view SubstituteNames(std::string_view text, std::size_t count, std::string& out) {
    unsigned found = NamesIn(text);
    if (found == 0) return text;
    out.assign(text);
    if (found & 1u) {
        ReplaceEvery(out, kNameSubstitutions[0].first, kNameSubstitutions[0].second);
        found = NamesIn(out);
    }
    for (std::size_t i = 1; i < count; ++i) {
        if (found & (1u << i)) ReplaceEvery(out, kNameSubstitutions[i].first, kNameSubstitutions[i].second);
    }
    return out;
}

}  // namespace

std::string ProcessedLine(std::string_view stripped) {
    std::string out;
    return std::string(ProcessLine(stripped, out));
}

std::string_view ProcessLine(std::string_view stripped, std::string& buffer) {
    return SubstituteNames(stripped, kNameSubstitutions.size(), buffer);
}

std::string TitleText(std::string_view stripped) {
    std::string buffer;
    std::string title(SubstituteNames(stripped, kTitleSubstitutions, buffer));
    std::replace(title.begin(), title.end(), '\'', '\xB4');
    return title;
}

std::string ClosedText(std::string text) {
    Substitute(text, kBeforeUpperCase);
    UpperCaseInPlace(text);
    Substitute(text, kAfterUpperCase);
    return text;
}

}  // namespace caltrix
