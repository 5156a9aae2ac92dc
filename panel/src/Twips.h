// Positions and sizes of the panel's elements are kept in twips, as designed;
// the screen uses 15 twips per pixel. A host that shrinks its display has the
// panel drawn at its scale: positions, sizes, fonts and pictures alike.
#pragma once

#include <QRect>
#include <cmath>

namespace Pannello2 {

// The program has its own copy (app/widgets/Twips.h): the panel library links
// nothing of the program's.
inline constexpr int kTwipsPerPixel = 15;

class TwipsScale {
public:
    explicit TwipsScale(double factor = 1.0) : m_factor(factor > 0 ? factor : 1.0) {}

    double Factor() const { return m_factor; }
    int ToPixels(int twips) const { return static_cast<int>(std::lround(ToPixelsF(twips))); }
    double ToPixelsF(double twips) const { return twips * m_factor / kTwipsPerPixel; }
    QRect Rect(int left, int top, int width, int height) const {
        return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
    }
    double Points(double points) const { return points * m_factor; }

private:
    double m_factor;
};

}  // namespace Pannello2
