#include "CaptionLabel.h"

#include <QMouseEvent>

#include "Colours.h"
#include "Fonts.h"
#include "Text1252.h"

namespace Pannello2 {

CaptionLabel::CaptionLabel(const char* name, QWidget* parent, TwipsScale scale) : QLabel(parent), m_scale(scale) {
    setObjectName(QString::fromLatin1(name));
    // Captions come from scraped pages and a remote file: never rich text.
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Clear over the strip, even where a host style sheet gives widgets a background.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
}

CaptionLabel::~CaptionLabel() { unsubscribe(); }

void CaptionLabel::SetCaption(const Testo& caption) {
    m_caption = caption;
    setText(CaptionDisplayText(caption));
}

void CaptionLabel::SetForeColour(Colore colour) {
    m_foreColour = colour;
    QPalette shades = palette();
    shades.setColor(QPalette::WindowText, ToQColor(colour));
    setPalette(shades);
}

void CaptionLabel::SetSharedFont(FontRef font) {
    unsubscribe();
    m_sharedFont = std::move(font);
    if (m_sharedFont) m_subscription = m_sharedFont->Subscribe([this] { applySharedFont(); });
    applySharedFont();
}

void CaptionLabel::applySharedFont() {
    if (m_sharedFont) setFont(ToQFont(*m_sharedFont, m_scale));
}

void CaptionLabel::unsubscribe() {
    if (m_sharedFont && m_subscription != 0) m_sharedFont->Unsubscribe(m_subscription);
    m_subscription = 0;
}

void CaptionLabel::PlaceTwips(int left, int top, int width, int height) {
    m_leftTwips = left;
    m_topTwips = top;
    m_widthTwips = width;
    m_heightTwips = height;
    applyGeometry();
}

void CaptionLabel::SetTopTwips(int top) {
    m_topTwips = top;
    applyGeometry();
}

void CaptionLabel::SetHeightTwips(int height) {
    m_heightTwips = height;
    applyGeometry();
}

void CaptionLabel::applyGeometry() { setGeometry(m_scale.Rect(m_leftTwips, m_topTwips, m_widthTwips, m_heightTwips)); }

// A click is a press and a release of the left button over the label.
void CaptionLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

// The system delivers the second press of a double click as a double-click
// event, and may also deliver it as a press: either way it only starts the
// second click, which its release completes.
void CaptionLabel::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) emit clicked();
}

}  // namespace Pannello2
