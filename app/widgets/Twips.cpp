#include "app/widgets/Twips.h"

#include <cmath>

namespace caltrix {
namespace {

double layoutScale = 1.0;

}  // namespace

void SetLayoutScale(double factor) { layoutScale = factor > 0 ? factor : 1.0; }

double LayoutScale() { return layoutScale; }

int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips * layoutScale / kTwipsPerPixel)); }

QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

double LayoutPoints(double points) { return points * layoutScale; }

}  // namespace caltrix
