// Fonts: the panel's font objects turned into Qt fonts, and the stand-ins for
// the classic Windows font names that a Debian system does not have.
#pragma once

#include <QFont>

#include <Pannello/Pannello.h>

#include "Twips.h"

namespace Pannello2 {

// Name, size in points and bold of `font` as a Qt font, its size at `scale`.
QFont ToQFont(const Font& font, const TwipsScale& scale);

// Makes `font` the title's: Verdana, 14 points, bold. The program, which
// gives its panels the same font, keeps its own copy: the panel library
// links nothing of the program's.
void SetTitleFont(Font& font);

// Maps Verdana, MS Sans Serif, Courier New and Times New Roman to the DejaVu
// and Liberation fonts that the setup installs. Safe to call more than once.
void InstallFontSubstitutions();

}  // namespace Pannello2
