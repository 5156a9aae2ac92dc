// Quoting an offending line in a log line or an error message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace caltrix {

inline constexpr std::size_t kQuotedLineBytes = 200;

// At most kQuotedLineBytes of `line`, with its length when cut: a page or
// configuration line of megabytes must not fill the journal and the status
// file every cycle.
inline std::string QuotedLine(std::string_view line) {
    if (line.size() <= kQuotedLineBytes) return std::string(line);
    return std::string(line.substr(0, kQuotedLineBytes)) + "... (" + std::to_string(line.size()) + " bytes)";
}

}  // namespace caltrix
