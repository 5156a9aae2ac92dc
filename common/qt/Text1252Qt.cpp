#include "common/qt/Text1252Qt.h"

#include "common/Text1252.h"

namespace caltrix {

QString FromWindows1252(std::string_view bytes) { return QString::fromStdString(Utf8From1252(bytes)); }

std::string ToWindows1252(const QString& text) { return Utf8To1252(text.toStdString()); }

}  // namespace caltrix
