// Writes one match line to a panel by its kind: teams, status and score
// markup, colours, steady or flashing. The writes follow a fixed order that
// the panels rely on for their redraws.
#pragma once

#include <Pannello/Pannello.h>

#include "display/core/ScoreFlash.h"
#include "display/core/StoredLine.h"

namespace caltrix {

inline constexpr Pannello2::Colore kRossoChiaro = 0x0000FF;   // palette entry 12
inline constexpr Pannello2::Colore kGialloChiaro = 0x00FFFF;  // palette entry 14

// Writes a line of kind InCorso, Finita, Intervallo or NonIniziata (other
// kinds write nothing) to the flash's panel; a running match that flashes
// starts `flash`. Panel failures (MarkupError) reach the caller.
void ScriviPartita(FlashPunteggio& flash, const RigaPartita& riga, Variante variante);

}  // namespace caltrix
