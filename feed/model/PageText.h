// Names as the live-score page can carry them: Windows-1252 characters only,
// markup characters escaped.
#pragma once

#include <string>
#include <string_view>

namespace caltrix::feed {

// `utf8` with every character that Windows-1252 lacks replaced by its base
// letter (ş -> s, ł -> l, Đ -> D), or by "?" as the program's conversion does
// when it has none; control characters are dropped. The result is still UTF-8.
std::string Windows1252Letters(std::string_view utf8);

// `text` with "&", "<" and ">" written as character references.
std::string EscapeMarkup(std::string_view text);

}  // namespace caltrix::feed
