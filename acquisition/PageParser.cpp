#include "acquisition/PageParser.h"

#include "acquisition/LineRules.h"
#include "acquisition/TagStripper.h"
#include "acquisition/TitleMatcher.h"
#include "common/LineText.h"
#include "common/ResultText.h"
#include "common/Slots.h"
#include "common/Text1252.h"

#include <algorithm>

namespace caltrix {
namespace {

constexpr std::string_view kTitleMarker = "class=title";
constexpr std::string_view kStopMarker = "t=new";

// The first title marker at `from` or later. The whole page is searched at
// once, not line by line: one search call instead of one for every line.
std::size_t FindTitleMarker(std::string_view page, std::size_t from) { return page.find(kTitleMarker, from); }

// Where the line holding the byte at `at` begins: after the CR (and its LF)
// that ends the line before.
std::size_t LineStart(std::string_view page, std::size_t at) {
    const std::size_t lineBreak = page.rfind('\r', at);
    if (lineBreak == std::string_view::npos) return 0;
    const std::size_t start = lineBreak + 1;
    return start < page.size() && page[start] == '\n' ? start + 1 : start;
}

// Where the line that begins at `start` ends (its CR, or the page's end).
std::size_t LineEnd(std::string_view page, std::size_t start) { return std::min(page.find('\r', start), page.size()); }

// Where the line after the one that ends at `end` begins.
std::size_t NextLineStart(std::string_view page, std::size_t end) {
    if (end >= page.size()) return page.size();
    return end + 1 < page.size() && page[end + 1] == '\n' ? end + 2 : end + 1;
}

// One parse: the result text with title mode. The start flag is where the
// loop begins: the first line that holds the title marker.
class ResultBuilder {
public:
    ResultBuilder(const TitleList& titles, std::size_t pageSize) : m_matcher(titles) {
        // The result text is a fraction of the page: a guess that saves most regrowth.
        m_text.reserve(pageSize / 4);
    }

    // False once the stop marker is met.
    bool Take(std::string_view raw) {
        std::string_view line = ProcessLine(m_stripper.StripToBuffer(raw), m_processed);
        if (Contains(line, kStopMarker)) return false;
        if (IsDateLine(line)) return true;
        const std::size_t titlesInLine = m_matcher.CountContained(line);
        for (std::size_t i = 0; i < titlesInLine; ++i) m_text.append(kLineEnd);
        if (titlesInLine > 0) m_titleMode = true;
        if (m_titleMode && Contains(line, " - ")) line = Wrapped(line);
        if (line.empty()) return true;
        if (IsStatusStart(line)) m_text.append(kLineEnd);
        if (line.find(':') != std::string_view::npos) return true;
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
    TagStripper m_stripper;
    std::string m_text;
    // Buffers reused from line to line.
    std::string m_processed;
    std::string m_wrapped;
    bool m_titleMode = false;
};

}  // namespace

void CercaTitoli(std::string_view page, TitleList& titles) {
    TagStripper stripper;
    for (std::size_t hit = FindTitleMarker(page, 0); hit != std::string_view::npos;) {
        const std::size_t start = LineStart(page, hit);
        const std::size_t end = LineEnd(page, hit);
        titles.Add(TitleText(stripper.StripToBuffer(page.substr(start, end - start))));
        hit = end < page.size() ? FindTitleMarker(page, end) : std::string_view::npos;
    }
}

std::string ResultText(std::string_view page, const TitleList& titles) {
    const std::size_t firstTitle = FindTitleMarker(page, 0);
    if (firstTitle == std::string_view::npos) return {};
    ResultBuilder builder(titles, page.size());
    for (std::size_t start = LineStart(page, firstTitle); start < page.size();) {
        const std::size_t end = LineEnd(page, start);
        if (!builder.Take(page.substr(start, end - start))) break;
        start = NextLineStart(page, end);
    }
    return builder.TakeText();
}

}  // namespace caltrix
