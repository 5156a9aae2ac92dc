// Colour values cross the interface as 0x00BBGGRR; values with the top bit set
// name a system colour, taken here from the application palette.
#pragma once

#include <QColor>

#include <Pannello/Pannello.h>

namespace Pannello2 {

QColor ToQColor(Colore value);

}  // namespace Pannello2
