// Conversion between Windows-1252 bytes (the cores' text) and QString, by the
// program's one conversion (common/Text1252.h): an undefined byte stands for
// the control character of its number, a character outside Windows-1252
// becomes "?".
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace caltrix {

QString FromWindows1252(std::string_view bytes);
std::string ToWindows1252(const QString& text);

}  // namespace caltrix
