// Writes one match line to a panel by its kind: teams, status and score
// markup, colours, steady or flashing. The writes follow a fixed order that
// the panels rely on for their redraws.
#pragma once

#include <Pannello/Pannello.h>

#include "display/ScoreChange.h"
#include "display/ScoreFlash.h"
#include "display/StoredLine.h"

namespace caltrix {

inline constexpr Pannello2::Colore kLightRed = 0x0000FF;     // palette entry 12
inline constexpr Pannello2::Colore kLightYellow = 0x00FFFF;  // palette entry 14

// The goal mark: "GOAL", the score and the side that scored, all in light
// yellow, then "GOAL" and the side in light red around a white score, in turn
// at every flash tick. The strips are green: yellow, red and white stand out
// on them where green would not. Unlike the running match's flash it never
// goes dark, so the new score can be read at every moment, while the change
// of colour draws the eye from across a room.
struct GoalMarkup {
    std::string lit;   // light yellow
    std::string dark;  // light red and white
};
GoalMarkup MarkGoal(const ScoreChange& goal);

// Writes a line of kind Running, Ended, HalfTime or NotStarted (other
// kinds write nothing) to the flash's panel; a running match that flashes
// starts `flash`. Panel failures (MarkupError) reach the caller.
void WriteMatch(ScoreFlash& flash, const StoredLine& line, Rules rules);

// Writes the goal's line as WriteMatch does, then puts the goal mark on the
// strip and makes it alternate.
void WriteGoal(ScoreFlash& flash, const ScoreChange& goal, Rules rules);

}  // namespace caltrix
