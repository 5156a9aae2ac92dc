// Paints a read markup text onto the info strip.
#pragma once

#include "MarkupParser.h"

namespace Pannello2 {

class PictureStrip;

// Clears the strip, then draws the segments on one line starting at 26 twips
// from the top, centred on the width of the measuring text in Verdana 10 pt
// bold, all at the strip's scale. A failed reading keeps the segments before the failure.
void PaintMarkup(PictureStrip& strip, const MarkupDrawing& drawing);

}  // namespace Pannello2
