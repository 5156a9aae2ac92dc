#include "Text1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Pannello2 {

QString FromWindows1252(const std::string& bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToWindows1252(const QString& text) {
    QStringEncoder encoder("windows-1252");
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString CaptionDisplayText(const std::string& caption) {
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t at = 0; at < caption.size(); ++at) {
        const char c = caption[at];
        if (c == '&' && at + 1 < caption.size()) {
            shown += caption[++at];  // "&&" keeps one "&"; "&x" keeps "x"
        } else if (c == '\r') {
            shown += '\n';
            if (at + 1 < caption.size() && caption[at + 1] == '\n') ++at;
        } else {
            shown += c;
        }
    }
    return FromWindows1252(shown);
}

}  // namespace Pannello2
