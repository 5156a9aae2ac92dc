#include "common/qt/Text1252Qt.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace caltrix {

QString FromWindows1252(std::string_view bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToWindows1252(const QString& text) {
    QStringEncoder encoder("windows-1252");
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    // Encode per code point so an unmappable one becomes "?" rather than the
    // encoder's substitution byte.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = encoder.encode(text.mid(i, length));
        if (encoder.hasError() || bytes.size() != 1) {
            out.push_back('?');
            encoder.resetState();
        } else {
            out.push_back(bytes.at(0));
        }
        i += length;
    }
    return out;
}

}  // namespace caltrix
