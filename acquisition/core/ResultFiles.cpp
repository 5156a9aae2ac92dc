#include "acquisition/core/ResultFiles.h"

#include "common/LineFile.h"
#include "common/Text1252.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>
#include <vector>

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
constexpr std::string_view kLineBreak = "\r\n";

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

// The upper case of every byte, looked up rather than worked out per byte.
const std::array<char, 256>& UpperCaseTable() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> upper{};
        for (std::size_t b = 0; b < upper.size(); ++b) upper[b] = UpperCase1252(static_cast<char>(b));
        return upper;
    }();
    return table;
}

void UpperCaseInPlace(std::string& text) {
    const auto& upper = UpperCaseTable();
    for (char& c : text) c = upper[static_cast<unsigned char>(c)];
}

void AppendWithoutSpacesUpperCase(std::string_view text, std::string& out) {
    const auto& upper = UpperCaseTable();
    for (const char c : text) {
        if (c != ' ') out.push_back(upper[static_cast<unsigned char>(c)]);
    }
}

// The fragments of a selection string, spaces removed and upper-cased.
std::vector<std::string> Fragments(std::string_view selz) {
    std::vector<std::string> fragments;
    for (auto end = selz.find(';'); end != std::string_view::npos; end = selz.find(';')) {
        AppendWithoutSpacesUpperCase(selz.substr(0, end), fragments.emplace_back());
        selz.remove_prefix(end + 1);
    }
    return fragments;
}

bool Selects(const std::vector<std::string>& fragments, std::string_view compactHeader) {
    return std::any_of(fragments.begin(), fragments.end(),
                       [&](const std::string& fragment) { return Contains(compactHeader, fragment); });
}

// Calls `visit` with every line of `text`: CR LF or a lone CR ends a line.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        const auto lineEnd = text.find('\r');
        visit(text.substr(0, lineEnd));
        if (lineEnd == std::string_view::npos) return;
        text.remove_prefix(lineEnd + 1);
        if (StartsWith(text, "\n")) text.remove_prefix(1);
    }
}

// The slot result file texts of several selections in one walk over the
// combined text, so each header is compacted once for all of them.
std::vector<std::string> SlotTextsFor(std::string_view combined, std::span<const std::string> selections) {
    std::vector<std::vector<std::string>> fragments;
    for (const std::string& selz : selections) fragments.push_back(Fragments(selz));
    std::vector<std::string> texts(selections.size());
    std::vector<char> keep(selections.size(), false);
    std::string compactHeader;
    ForEachLine(combined, [&](std::string_view line) {
        if (TrimSpaces(line).empty()) return;
        if (line.front() == '<') {
            compactHeader.clear();
            AppendWithoutSpacesUpperCase(line, compactHeader);
            for (std::size_t k = 0; k < texts.size(); ++k) keep[k] = Selects(fragments[k], compactHeader);
        }
        for (std::size_t k = 0; k < texts.size(); ++k) {
            if (!keep[k]) continue;
            texts[k].append(line);
            texts[k].append(kLineBreak);
        }
    });
    for (std::string& text : texts) text.append(kLineBreak);
    return texts;
}

// True when `path` is a regular file holding exactly `bytes` (a larger one is not read).
bool HoldsExactly(const std::filesystem::path& path, std::string_view bytes) {
    try {
        return ReadWholeFile(path, bytes.size()) == bytes;
    } catch (const FileError&) {
        return false;
    }
}

}  // namespace

std::filesystem::path CombinedFileName(const std::filesystem::path& programFolder, int n) {
    return programFolder / ("video" + std::to_string(n) + ".txt");
}

std::filesystem::path SlotFileName(const std::filesystem::path& programFolder, int slot) {
    return programFolder / ("lmVideo" + std::to_string(slot) + ".txt");
}

std::string ClosedText(std::string_view resultText) {
    std::string text(resultText);
    std::string scratch;
    Substitute(text, kBeforeUpperCase, scratch);
    UpperCaseInPlace(text);
    Substitute(text, kAfterUpperCase, scratch);
    return text;
}

std::string SlotFileText(std::string_view combined, std::string_view selz) {
    const std::string selection(selz);
    return std::move(SlotTextsFor(combined, std::span(&selection, 1)).front());
}

std::array<std::string, kSlotCount> SlotFileTexts(std::string_view combined,
                                                  const std::array<std::string, kSlotCount>& selections) {
    std::vector<std::string> texts = SlotTextsFor(combined, selections);
    std::array<std::string, kSlotCount> out;
    std::move(texts.begin(), texts.end(), out.begin());
    return out;
}

void ScriviNuovoOutput(std::string_view combined, std::string_view selz, const std::filesystem::path& slotFile) {
    WriteSlotFile(slotFile, SlotFileText(combined, selz));
}

void WriteSlotFile(const std::filesystem::path& slotFile, std::string_view text) {
    if (HoldsExactly(slotFile, text)) return;
    WriteFileAtomically(slotFile, text);
}

}  // namespace caltrix
