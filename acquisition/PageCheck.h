// Tells a saved live-score page from something else the site sent.
#pragma once

#include <string_view>

namespace caltrix {

// True when the markup holds a competition title ("class=title") or the
// page's closing marker ("t=new"): a real page, even on a day without
// matches. Binary garbage, an empty body or an error page hold neither, and
// parsing them would blank every slot.
bool LooksLikeLiveScorePage(std::string_view markup);

}  // namespace caltrix
