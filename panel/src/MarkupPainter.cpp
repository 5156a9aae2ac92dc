#include "MarkupPainter.h"

#include <QFontMetricsF>

#include "Colours.h"
#include "PictureStrip.h"
#include "Text1252.h"
#include "Twips.h"

namespace Pannello2 {
namespace {

constexpr int kPenTopTwips = 26;

QFont DrawingFont(bool bold) {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(10);
    font.setBold(bold);
    return font;
}

}  // namespace

void PaintMarkup(PictureStrip& strip, const MarkupDrawing& drawing) {
    strip.ClearDrawing();
    const double measuringWidth =
        QFontMetricsF(DrawingFont(kStartBold), &strip).horizontalAdvance(FromWindows1252(drawing.measuringText));
    QPointF pen((strip.width() - measuringWidth) / 2, TwipsToPixelsF(kPenTopTwips));
    for (const MarkupSegment& segment : drawing.segments) {
        const QFont font = DrawingFont(segment.bold);
        const QString text = FromWindows1252(segment.text);
        strip.DrawText(pen, text, ToQColor(PaletteColour(segment.colour)), font);
        pen.rx() += QFontMetricsF(font, &strip).horizontalAdvance(text);
    }
}

}  // namespace Pannello2
