// The panel's moving parts: blink and steady methods, the vertical scroll of
// the main text, the TestoPic blink, the markup drawing and clearing.
#include "PannelloControl.h"

#include "CaptionLabel.h"
#include "Fonts.h"
#include "MarkupPainter.h"
#include "MarkupParser.h"
#include "PictureStrip.h"

namespace Pannello2 {
namespace {

constexpr std::int16_t kScrollRestCount = 60;
constexpr std::int16_t kScrollLastMove = 96;
constexpr std::int16_t kScrollLastRest = 156;
constexpr int kScrollStepTwips = 30;
constexpr int kScrollHeightTwips = 4000;
// The program's line end; the panel library links nothing of the program's, so it keeps its own copy.
constexpr const char* kLineBreak = "\r\n";

// Shows or hides a label and the one that follows it; the first one decides.
void TogglePair(CaptionLabel& leader, CaptionLabel& follower) {
    const bool hide = !leader.isHidden();
    leader.setHidden(hide);
    follower.setHidden(hide);
}

MarkupError ToMarkupError(const MarkupFailure& failure) {
    return MarkupError(failure.kind == MarkupFailure::Kind::Overflow ? MarkupError::Kind::Overflow
                                                                     : MarkupError::Kind::InvalidArgument,
                       failure.message);
}

void GiveTitleFont(CaptionLabel& label) {
    if (!label.SharedFont()) label.SetSharedFont(MakeFont({}, 0, false));
    SetTitleFont(*label.SharedFont());
}

// A blink already running keeps its timer: restarting it on every call would
// push its next tick away, so a host that keeps asking would stop the blink.
void StartBlink(QTimer& blink) {
    if (!blink.isActive()) blink.start();
}

}  // namespace

void Pannello::Initialise() {
    m_el.lblTitolo->SetTopTwips(40);
    for (QTimer* stopped : {&m_timer1, &m_timer2, &m_timer4, &m_timer5, &m_timer6}) stopped->stop();
    SetScrollVerticale(false);
    Pulisci();
    m_values.contatoreScroll = kScrollRestCount;
}

void Pannello::disegnaTestoPic(const Testo& markup) {
    const MarkupDrawing drawing = ParseMarkup(markup);
    PaintMarkup(*m_el.picInfo, drawing);
    if (drawing.failure) throw ToMarkupError(*drawing.failure);
}

bool Pannello::TitoloLampeggio() {
    StartBlink(m_timer1);
    return false;
}
bool Pannello::TestoLampeggio() {
    StartBlink(m_timer2);
    return false;
}
bool Pannello::HTLampeggio() {
    StartBlink(m_timer7);
    return false;
}
bool Pannello::FTLampeggio() {
    StartBlink(m_timer4);
    return false;
}
bool Pannello::InfoLampeggio() {
    StartBlink(m_timer5);
    return false;
}

bool Pannello::TitoloFisso() {
    m_timer1.stop();
    m_el.lblTitolo->show();
    m_el.lblOmbraTitolo->show();
    return false;
}

bool Pannello::TestoFisso() {
    m_timer2.stop();
    m_el.lblTesto->show();
    return false;
}

bool Pannello::HTFisso() {
    m_timer7.stop();
    disegnaTestoPic(m_values.testoPicCopia);
    return false;
}

bool Pannello::FTFisso() {
    m_timer4.stop();
    m_el.lblFT->show();
    m_el.lblRisultatoFT->show();
    return false;
}

bool Pannello::InfoFisso() {
    m_timer5.stop();
    m_el.lblInfo->show();
    return false;
}

// Clears the captions and resets the title fonts; leaves the scroll, the
// TestoPic blink, the info strip drawing, visibility and stored values alone.
bool Pannello::Pulisci() {
    for (QTimer* stopped : {&m_timer1, &m_timer2, &m_timer4, &m_timer5}) stopped->stop();
    for (CaptionLabel* label : {m_el.lblTitolo, m_el.lblOmbraTitolo, m_el.lblTesto, m_el.lblHT, m_el.lblRisultatoHT,
                                m_el.lblFT, m_el.lblRisultatoFT, m_el.lblInfo}) {
        label->SetCaption({});
    }
    GiveTitleFont(*m_el.lblTitolo);
    GiveTitleFont(*m_el.lblOmbraTitolo);
    return false;
}

void Pannello::SetScrollVerticale(bool value) {
    m_values.scrollVerticale = value;
    m_el.lblTesto->SetCaption(m_el.lblTesto->Caption() + kLineBreak + kLineBreak + m_values.scrollTesto);
    if (value) {
        m_timer6.start();
    } else {
        m_timer6.stop();
    }
    notify("ScrollVerticale");
}

void Pannello::Tick(PanelTimer which) {
    switch (which) {
    case PanelTimer::Titolo:
        titleBlink();
        break;
    case PanelTimer::Testo:
        textBlink();
        break;
    case PanelTimer::FT:
        blinkFT();
        break;
    case PanelTimer::Info:
        blinkInfo();
        break;
    case PanelTimer::Scroll:
        scrollStep();
        break;
    case PanelTimer::TestoPic:
        blinkTestoPic();
        break;
    }
}

void Pannello::titleBlink() { TogglePair(*m_el.lblTitolo, *m_el.lblOmbraTitolo); }
void Pannello::textBlink() { m_el.lblTesto->setHidden(!m_el.lblTesto->isHidden()); }
void Pannello::blinkFT() { TogglePair(*m_el.lblFT, *m_el.lblRisultatoFT); }
void Pannello::blinkInfo() { m_el.lblInfo->setHidden(!m_el.lblInfo->isHidden()); }

// One step of the vertical scroll: 36 moves of 30 twips, 60 rests, then the
// reset that leaves the next text alone at the top. The pending events the
// scroll lets through at the end of each step need no nested event loop here:
// the tick returns straight to the event loop, which processes them.
void Pannello::scrollStep() {
    const auto count = static_cast<std::int16_t>(m_values.contatoreScroll + 1);
    m_values.contatoreScroll = count;
    if (count >= 0 && count <= kScrollRestCount) return;
    if (count > kScrollRestCount && count <= kScrollLastMove) {
        m_el.lblTesto->SetTopTwips(m_el.lblTesto->TopTwips() - kScrollStepTwips);
        m_el.lblTesto->SetHeightTwips(kScrollHeightTwips);
        return;
    }
    if (count > kScrollLastMove && count <= kScrollLastRest) return;

    m_el.lblTesto->SetTopTwips(0);
    m_values.contatoreScroll = kScrollRestCount;
    SetScrollVerticale(false);
    m_el.lblTesto->SetCaption(m_values.scrollTesto);
}

// Draws the markup in odd seconds and clears the strip in even ones. Markup
// that cannot be drawn skips the tick: there is no caller to tell.
void Pannello::blinkTestoPic() {
    const bool oddSecond = m_clock() % 2 == 1;
    const MarkupDrawing drawing = ParseMarkup(oddSecond ? m_values.testoPicCopia : Testo{});
    if (!drawing.failure) PaintMarkup(*m_el.picInfo, drawing);
}

}  // namespace Pannello2
