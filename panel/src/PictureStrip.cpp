#include "PictureStrip.h"

#include <QFontMetricsF>
#include <QPainter>

namespace Pannello2 {

PictureStrip::PictureStrip(const char* name, QWidget* parent, TwipsScale scale) : QWidget(parent), m_scale(scale) {
    setObjectName(QString::fromLatin1(name));
}

void PictureStrip::SetPicture(PictureRef picture) {
    m_picture = std::move(picture);
    m_pixmap = QPixmap();
    if (m_picture && !m_picture->encoded.empty()) {
        m_pixmap.loadFromData(m_picture->encoded.data(), static_cast<uint>(m_picture->encoded.size()));
    }
    update();
}

void PictureStrip::ClearDrawing() {
    m_drawing.clear();
    update();
}

void PictureStrip::DrawText(QPointF position, const QString& text, const QColor& colour, const QFont& font) {
    if (text.isEmpty()) return;
    m_drawing.push_back({position, text, colour, font});
    update();
}

void PictureStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // At the picture's own size from the top left: a smaller one leaves the rest bare, a larger one is cut.
    if (!m_pixmap.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSizeF size = QSizeF(m_pixmap.size()) * m_scale.Factor();
        painter.drawPixmap(QRectF(QPointF(0, 0), size), m_pixmap, QRectF(m_pixmap.rect()));
    }
    for (const DrawnText& drawn : m_drawing) {
        painter.setFont(drawn.font);
        painter.setPen(drawn.colour);
        const QFontMetricsF metrics(drawn.font, this);
        painter.drawText(drawn.position + QPointF(0, metrics.ascent()), drawn.text);
    }
}

}  // namespace Pannello2
