// Conversions at the panel's edge: texts cross the interface as Windows-1252
// bytes and are shown by Qt as QString.
#pragma once

#include <QString>

#include <string>

namespace Pannello2 {

QString FromWindows1252(const std::string& bytes);
std::string ToWindows1252(const QString& text);

// What a label shows for a caption: "&&" stands for one "&", a single "&"
// marks the next character as mnemonic and is not shown, and line breaks
// (CR LF or a lone CR) become new lines.
QString CaptionDisplayText(const std::string& caption);

}  // namespace Pannello2
