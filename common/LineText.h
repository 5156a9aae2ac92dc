// The program's line rule for Windows-1252 text: a written line ends with
// CR LF; a reader ends a line at CR LF or at a lone CR.
#pragma once

#include <string_view>

namespace caltrix {

inline constexpr std::string_view kLineEnd = "\r\n";

// Calls `visit` with every line of `text`: CR LF or a lone CR ends a line, a
// lone LF does not. A last line without a line end still counts; empty text
// has no lines.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        const auto lineEnd = text.find('\r');
        visit(text.substr(0, lineEnd));
        if (lineEnd == std::string_view::npos) return;
        text.remove_prefix(lineEnd + 1);
        if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
    }
}

}  // namespace caltrix
