#include "Colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace Pannello2 {
namespace {

constexpr Colore kSystemColourFlag = 0x80000000u;

// The classic system colour indices that a host may plausibly pass.
QPalette::ColorRole SystemColourRole(Colore index) {
    switch (index) {
    case 5:
        return QPalette::Base;  // window background
    case 8:
        return QPalette::Text;  // window text
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 15:
        return QPalette::Button;  // button face
    case 18:
        return QPalette::ButtonText;
    default:
        return QPalette::WindowText;
    }
}

}  // namespace

QColor ToQColor(Colore value) {
    if (value & kSystemColourFlag) {
        return QGuiApplication::palette().color(SystemColourRole(value & 0xFFu));
    }
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

}  // namespace Pannello2
