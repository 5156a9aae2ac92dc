// One label of the panel: a caption kept exactly as written (Windows-1252),
// shown as plain text with centred alignment over its strip, a fore colour,
// a font, and its place in twips at the panel's scale.
#pragma once

#include <QLabel>

#include <Pannello/Pannello.h>

#include "Twips.h"

namespace Pannello2 {

class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    CaptionLabel(const char* name, QWidget* parent, TwipsScale scale);
    ~CaptionLabel() override;

    const Testo& Caption() const { return m_caption; }
    void SetCaption(const Testo& caption);

    Colore ForeColour() const { return m_foreColour; }
    void SetForeColour(Colore colour);

    // A font object shared by reference: later changes made through it show.
    const FontRef& SharedFont() const { return m_sharedFont; }
    void SetSharedFont(FontRef font);

    void PlaceTwips(int left, int top, int width, int height);
    int TopTwips() const { return m_topTwips; }
    void SetTopTwips(int top);
    void SetHeightTwips(int height);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void applyGeometry();
    void applySharedFont();
    void unsubscribe();

    TwipsScale m_scale;
    Testo m_caption;
    Colore m_foreColour = 0;
    FontRef m_sharedFont;
    int m_subscription = 0;
    int m_leftTwips = 0;
    int m_topTwips = 0;
    int m_widthTwips = 0;
    int m_heightTwips = 0;
    bool m_pressed = false;
};

}  // namespace Pannello2
