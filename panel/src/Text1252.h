// Conversions at the panel's edge: texts cross the interface as Windows-1252
// bytes and are shown by Qt as QString. The program's own table is in
// common/Text1252; the panel library links nothing of the program's, so it
// keeps this copy.
#pragma once

#include <QString>

#include <string>

namespace Pannello2 {

// Every byte has its character: the five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters
// of the same number, as in the host program's conversion.
QString FromWindows1252(const std::string& bytes);

// What a label shows for a caption: "&&" stands for one "&", a single "&"
// marks the next character as mnemonic and is not shown (a trailing one marks
// nothing and is shown), and line breaks (CR LF or a lone CR) become new lines.
QString CaptionDisplayText(const std::string& caption);

}  // namespace Pannello2
