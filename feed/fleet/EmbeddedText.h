// Texts compiled into the feed server.
#pragma once

#include <string_view>

namespace caltrix::fleet {

std::string_view ScreensPageHtml();   // the operator's page, screens.html
std::string_view StatusSchemaText();  // the status file's schema, data/status.schema.json

}  // namespace caltrix::fleet
