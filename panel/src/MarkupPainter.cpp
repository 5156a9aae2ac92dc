#include "MarkupPainter.h"

#include <QFontMetricsF>

#include "Colours.h"
#include "PictureStrip.h"
#include "Text1252.h"

namespace Pannello2 {
namespace {

constexpr int kPenTopTwips = 26;

QFont DrawingFont(bool bold, const TwipsScale& scale) {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(scale.Points(10));
    font.setBold(bold);
    return font;
}

}  // namespace

void PaintMarkup(PictureStrip& strip, const MarkupDrawing& drawing) {
    strip.ClearDrawing();
    const TwipsScale& scale = strip.Scale();
    const double measuringWidth =
        QFontMetricsF(DrawingFont(kStartBold, scale), &strip).horizontalAdvance(FromWindows1252(drawing.measuringText));
    QPointF pen((strip.width() - measuringWidth) / 2, scale.ToPixelsF(kPenTopTwips));
    for (const MarkupSegment& segment : drawing.segments) {
        const QFont font = DrawingFont(segment.bold, scale);
        const QString text = FromWindows1252(segment.text);
        strip.DrawText(pen, text, ToQColor(PaletteColour(segment.colour)), font);
        pen.rx() += QFontMetricsF(font, &strip).horizontalAdvance(text);
    }
}

}  // namespace Pannello2
