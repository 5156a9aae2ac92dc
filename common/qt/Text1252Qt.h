// Conversion between Windows-1252 bytes (the cores' text) and QString.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace caltrix {

QString FromWindows1252(std::string_view bytes);
// Characters outside Windows-1252 become "?".
std::string ToWindows1252(const QString& text);

}  // namespace caltrix
