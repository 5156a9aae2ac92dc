// Design positions are in twips: 15 twips per pixel at 96 dots per inch. A
// position converts to the nearest pixel, as the panel's do; with 15 twips a
// pixel there is never a tie.
#pragma once

#include <QRect>

namespace caltrix {

inline constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) {
    constexpr int half = kTwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((half - twips) / kTwipsPerPixel);
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

}  // namespace caltrix
