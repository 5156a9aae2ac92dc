#include "Text1252.h"

#include <array>

namespace Pannello2 {
namespace {

// The characters of bytes 0x80..0x9F; the undefined ones stand for themselves.
constexpr std::array<char16_t, 32> kCharactersFrom0x80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar CharacterOf(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return QChar(b >= 0x80 && b < 0xA0 ? kCharactersFrom0x80[b - 0x80] : char16_t{b});
}

}  // namespace

QString FromWindows1252(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char byte : bytes) text += CharacterOf(byte);
    return text;
}

QString CaptionDisplayText(const std::string& caption) {
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t at = 0; at < caption.size(); ++at) {
        const char c = caption[at];
        if (c == '&' && at + 1 < caption.size()) {
            if (caption[at + 1] == '&') shown += caption[++at];
            continue;
        }
        if (c == '\r') {
            shown += '\n';
            if (at + 1 < caption.size() && caption[at + 1] == '\n') ++at;
        } else {
            shown += c;
        }
    }
    return FromWindows1252(shown);
}

}  // namespace Pannello2
