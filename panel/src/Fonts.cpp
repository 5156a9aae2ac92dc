#include "Fonts.h"

#include "Text1252.h"

namespace Pannello2 {

QFont ToQFont(const Font& font, const TwipsScale& scale) {
    QFont qfont(FromWindows1252(font.Name()));
    if (font.Size() > 0) qfont.setPointSizeF(scale.Points(font.Size()));
    qfont.setBold(font.Bold());
    return qfont;
}

void SetTitleFont(Font& font) {
    font.SetName("Verdana");
    font.SetSize(14);
    font.SetBold(true);
}

void InstallFontSubstitutions() {
    // Debian ships none of the Windows fonts the panel was designed with. The
    // substitutes are chosen for similar width: DejaVu Sans is as wide as
    // Verdana, and the Liberation fonts are metric-compatible with Arial (the
    // usual stand-in for MS Sans Serif), Courier New and Times New Roman.
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

}  // namespace Pannello2
