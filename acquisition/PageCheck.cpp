#include "acquisition/PageCheck.h"

namespace caltrix {

bool LooksLikeLiveScorePage(std::string_view markup) {
    return markup.find("class=title") != std::string_view::npos || markup.find("t=new") != std::string_view::npos;
}

}  // namespace caltrix
