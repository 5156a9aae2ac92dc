#include "acquisition/core/PageParser.h"

#include "acquisition/core/LineRules.h"
#include "common/ResultText.h"
#include "acquisition/core/TitleMatcher.h"
#include "common/LineFile.h"
#include "common/SlotFiles.h"
#include "common/Text1252.h"

#include <algorithm>
#include <functional>

namespace caltrix {
namespace {

constexpr std::string_view kTitleMarker = "class=title";
constexpr std::string_view kStopMarker = "t=new";

// Every raw line is searched for the title marker; skipping ahead by the
// marker's length beats stopping at every "c" of "class".
bool HoldsTitleMarker(std::string_view raw) {
    static const std::boyer_moore_horspool_searcher searcher(kTitleMarker.begin(), kTitleMarker.end());
    return std::search(raw.begin(), raw.end(), searcher) != raw.end();
}

// One parse: the result text with the start flag and title mode.
class ResultBuilder {
public:
    ResultBuilder(const TitleList& titles, TagStripper& stripper) : m_matcher(titles), m_stripper(stripper) {}

    // False once the stop marker is met.
    bool Take(std::string_view raw) {
        if (!m_started) {
            if (!HoldsTitleMarker(raw)) return true;
            m_started = true;
        }
        ProcessLine(m_stripper.StripToBuffer(raw), m_processed);
        std::string_view line = m_processed;
        if (Contains(line, kStopMarker)) return false;
        if (IsDateLine(line)) return true;
        const std::size_t titlesInLine = m_matcher.CountContained(line);
        for (std::size_t i = 0; i < titlesInLine; ++i) m_text.append(kLineEnd);
        if (titlesInLine > 0) m_titleMode = true;
        if (m_titleMode && Contains(line, " - ")) line = Wrapped(line);
        if (line.empty()) return true;
        if (IsStatusStart(line)) m_text.append(kLineEnd);
        if (Contains(line, ":")) return true;
        m_text.append(line);
        m_text.push_back(' ');
        return true;
    }

    std::string TakeText() { return std::move(m_text); }

private:
    std::string_view Wrapped(std::string_view line) {
        m_wrapped.clear();
        m_wrapped.push_back('<');
        m_wrapped.append(line);
        m_wrapped.push_back('>');
        return m_wrapped;
    }

    TitleMatcher m_matcher;
    TagStripper& m_stripper;
    std::string m_text;
    // Buffers reused from line to line.
    std::string m_processed;
    std::string m_wrapped;
    bool m_started = false;
    bool m_titleMode = false;
};

}  // namespace

std::vector<std::string_view> PageLines(std::string_view page) {
    std::vector<std::string_view> lines;
    ForEachLine(page, [&lines](std::string_view line) { lines.push_back(line); });
    return lines;
}

void CercaTitoli(const std::vector<std::string_view>& lines, TitleList& titles, TagStripper& stripper) {
    for (const std::string_view raw : lines) {
        if (HoldsTitleMarker(raw)) titles.Add(TitleText(stripper.StripToBuffer(raw)));
    }
}

void CercaTitoli(const std::filesystem::path& nomeFile, TitleList& titles) {
    if (!EsisteFile(nomeFile)) return;
    const std::string page = ReadWholeFile(nomeFile);
    TagStripper stripper;
    CercaTitoli(PageLines(page), titles, stripper);
}

std::string ResultText(const std::vector<std::string_view>& lines, const TitleList& titles, TagStripper& stripper) {
    ResultBuilder builder(titles, stripper);
    for (const std::string_view raw : lines) {
        if (!builder.Take(raw)) break;
    }
    return builder.TakeText();
}

}  // namespace caltrix
