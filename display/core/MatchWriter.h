// Writes one match line to a panel by its kind: teams, status and score
// markup, colours, steady or flashing. The writes follow a fixed order that
// the panels rely on for their redraws.
#pragma once

#include <Pannello/Pannello.h>

#include "display/core/ScoreFlash.h"
#include "display/core/StoredLine.h"

namespace caltrix {

inline constexpr Pannello2::Colore kLightRed = 0x0000FF;     // palette entry 12
inline constexpr Pannello2::Colore kLightYellow = 0x00FFFF;  // palette entry 14

// Writes a line of kind Running, Ended, HalfTime or NotStarted (other
// kinds write nothing) to the flash's panel; a running match that flashes
// starts `flash`. Panel failures (MarkupError) reach the caller.
void WriteMatch(ScoreFlash& flash, const StoredLine& line, Rules rules);

}  // namespace caltrix
