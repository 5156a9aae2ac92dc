// Design positions are in twips: 15 twips per pixel at 96 dots per inch,
// times the layout scale. A position converts to the nearest pixel, as the
// panel's do.
#pragma once

#include <QRect>

namespace caltrix {

// The program's one copy; the panel library, which links nothing of the
// program's, keeps its own.
inline constexpr int kTwipsPerPixel = 15;

// The factor, below 1, by which the program shrinks its design itself for a
// screen smaller than the design: Qt draws widgets wrongly at a scale factor
// below 1, so positions, fonts and pages are shrunk here instead, while Qt
// scales from 1 up. Set once at start-up, before any control is built.
void SetLayoutScale(double factor);
double LayoutScale();

int TwipsToPixels(int twips);
QRect TwipsRect(int left, int top, int width, int height);
// A font size in points at the layout scale.
double LayoutPoints(double points);

}  // namespace caltrix
