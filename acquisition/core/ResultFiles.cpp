#include "acquisition/core/ResultFiles.h"

#include "common/LineFile.h"
#include "common/Text1252.h"

#include <algorithm>
#include <array>
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
    {"TA\xC7" "A DE PORTUGAL", "TA\xC7" "A PORTUGAL"},
}};
constexpr std::string_view kLineBreak = "\r\n";

template <std::size_t N>
std::string Substitute(std::string text, const std::array<Substitution, N>& table) {
    for (const auto& [from, to] : table) {
        if (Contains(text, from)) text = ReplaceAll(text, from, to);
    }
    return text;
}

std::string WithoutSpacesUpperCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != ' ') out.push_back(UpperCase1252(c));
    }
    return out;
}

std::vector<std::string> Fragments(std::string_view selz) {
    std::vector<std::string> fragments;
    for (auto end = selz.find(';'); end != std::string_view::npos; end = selz.find(';')) {
        fragments.push_back(WithoutSpacesUpperCase(selz.substr(0, end)));
        selz.remove_prefix(end + 1);
    }
    return fragments;
}

bool Selects(const std::vector<std::string>& fragments, std::string_view header) {
    const std::string compact = WithoutSpacesUpperCase(header);
    return std::any_of(fragments.begin(), fragments.end(),
                       [&](const std::string& fragment) { return Contains(compact, fragment); });
}

}  // namespace

std::filesystem::path CombinedFileName(const std::filesystem::path& programFolder, int n) {
    return programFolder / ("video" + std::to_string(n) + ".txt");
}

std::filesystem::path SlotFileName(const std::filesystem::path& programFolder, int slot) {
    return programFolder / ("lmVideo" + std::to_string(slot) + ".txt");
}

std::string ClosedText(std::string_view resultText) {
    std::string text = Substitute(std::string(resultText), kBeforeUpperCase);
    return Substitute(UpperCase1252(text), kAfterUpperCase);
}

std::string SlotFileText(std::string_view combined, std::string_view selz) {
    const std::vector<std::string> fragments = Fragments(selz);
    std::string out;
    bool keep = false;
    while (!combined.empty()) {
        const auto lineEnd = combined.find('\r');
        const std::string_view line = combined.substr(0, lineEnd);
        combined.remove_prefix(lineEnd == std::string_view::npos ? combined.size() : lineEnd + 1);
        if (StartsWith(combined, "\n") && lineEnd != std::string_view::npos) combined.remove_prefix(1);
        if (TrimSpaces(line).empty()) continue;
        if (line.front() == '<') keep = Selects(fragments, line);
        if (!keep) continue;
        out.append(line);
        out.append(kLineBreak);
    }
    out.append(kLineBreak);
    return out;
}

void ScriviNuovoOutput(std::string_view combined, std::string_view selz, const std::filesystem::path& slotFile) {
    WriteFileAtomically(slotFile, SlotFileText(combined, selz));
}

}  // namespace caltrix
