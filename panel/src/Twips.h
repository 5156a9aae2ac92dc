// Positions and sizes of the panel's elements are kept in twips, as designed;
// the screen uses 15 twips per pixel.
#pragma once

#include <QRect>
#include <cmath>

namespace Pannello2 {

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

inline double TwipsToPixelsF(double twips) { return twips / kTwipsPerPixel; }

inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

}  // namespace Pannello2
