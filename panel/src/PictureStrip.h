// A picture strip of the panel: a background picture drawn at its own size
// (times the panel's scale) from the top left corner, and text drawn onto it that stays, over the
// picture and under the strip's labels, until the strip is next cleared.
#pragma once

#include <QFont>
#include <QPixmap>
#include <QWidget>

#include <vector>

#include <Pannello/Pannello.h>

#include "Twips.h"

namespace Pannello2 {

class PictureStrip : public QWidget {
    Q_OBJECT

public:
    PictureStrip(const char* name, QWidget* parent, TwipsScale scale);

    const TwipsScale& Scale() const { return m_scale; }

    const PictureRef& Picture() const { return m_picture; }
    // Null, or bytes that do not decode, leave the strip without a picture.
    void SetPicture(PictureRef picture);

    void ClearDrawing();
    // Draws `text` with its top left corner at `position` (pixels).
    void DrawText(QPointF position, const QString& text, const QColor& colour, const QFont& font);

    struct DrawnText {
        QPointF position;
        QString text;
        QColor colour;
        QFont font;
    };
    const std::vector<DrawnText>& Drawing() const { return m_drawing; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TwipsScale m_scale;
    PictureRef m_picture;
    QPixmap m_pixmap;
    std::vector<DrawnText> m_drawing;
};

}  // namespace Pannello2
