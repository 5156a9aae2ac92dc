#include "PannelloControl.h"

#include "BuiltinPictures.h"
#include "CaptionLabel.h"
#include "Fonts.h"
#include "PictureStrip.h"
#include "Twips.h"

#include <QTime>

namespace Pannello2 {
namespace {

constexpr int kWidthTwips = 5010;
constexpr int kHeightTwips = 1470;
constexpr int kBlinkIntervalMs = 500;
// The scroll asks for 1 ms; desktop timer services tick every 15 to 16 ms at
// best, and the scroll's pace was set by that, so a precise 16 ms timer keeps it.
constexpr int kScrollIntervalMs = 16;

constexpr Colore kWhite = 0xFFFFFF;
constexpr Colore kBlack = 0x000000;
constexpr Colore kRed = 0x0000FF;
constexpr Colore kYellow = 0x00FFFF;

QFont SmallLabelFont(const TwipsScale& scale) {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(scale.Points(9.75));
    font.setBold(true);
    return font;
}

CaptionLabel* MakeLabel(const char* name, PictureStrip* strip, const char* caption, Colore colour) {
    auto* label = new CaptionLabel(name, strip, strip->Scale());
    label->SetCaption(caption);
    label->SetForeColour(colour);
    return label;
}

CaptionLabel* MakeInfoLabel(const char* name, PictureStrip* strip, int left, int width, const char* caption,
                            Colore colour) {
    CaptionLabel* label = MakeLabel(name, strip, caption, colour);
    label->PlaceTwips(left, 15, width, 240);
    label->setFont(SmallLabelFont(strip->Scale()));
    return label;
}

}  // namespace

Pannello::Pannello(QWidget* parent, PannelloHost* host)
    : QWidget(parent),
      m_host(host),
      m_scale(host != nullptr ? host->AmbientScale() : 1.0),
      m_clock([] { return QTime::currentTime().second(); }) {
    setObjectName(QStringLiteral("Pannello"));
    setFixedSize(m_scale.ToPixels(kWidthTwips), m_scale.ToPixels(kHeightTwips));
    buildSurface();
    setupTimers();
}

Pannello::~Pannello() = default;

void Pannello::buildSurface() {
    m_el.picTitolo = new PictureStrip("picTitolo", this, m_scale);
    m_el.picTitolo->setGeometry(m_scale.Rect(-30, -30, 5010, 360));
    m_el.picTesto = new PictureStrip("picTesto", this, m_scale);
    m_el.picTesto->setGeometry(m_scale.Rect(0, 345, 5010, 780));
    m_el.picInfo = new PictureStrip("picInfo", this, m_scale);
    m_el.picInfo->setGeometry(m_scale.Rect(0, 1125, 5010, 345));
    m_el.picTitolo->SetPicture(BuiltinPicture(Strip::Titolo));
    m_el.picTesto->SetPicture(BuiltinPicture(Strip::Testo));
    m_el.picInfo->SetPicture(BuiltinPicture(Strip::Info));

    // The shadow first, so the title is drawn above it.
    m_el.lblOmbraTitolo = MakeLabel("lblOmbraTitolo", m_el.picTitolo, "Titolo", kBlack);
    m_el.lblOmbraTitolo->PlaceTwips(150, 60, 4860, 315);
    m_el.lblOmbraTitolo->SetSharedFont(MakeFont("Verdana", 14.25, true));
    m_el.lblTitolo = MakeLabel("lblTitolo", m_el.picTitolo, "Titolo", kWhite);
    m_el.lblTitolo->PlaceTwips(105, 30, 4860, 315);
    m_el.lblTitolo->SetSharedFont(MakeFont("Verdana", 14.25, true));

    m_el.lblTesto = MakeLabel("lblTesto", m_el.picTesto, "Testo", kWhite);
    m_el.lblTesto->PlaceTwips(90, 0, 4830, 795);
    m_el.lblTesto->setWordWrap(true);
    m_el.lblTesto->setFont(SmallLabelFont(m_scale));

    m_el.lblHT = MakeInfoLabel("lblHT", m_el.picInfo, 1425, 495, "HT", kRed);
    m_el.lblRisultatoHT = MakeInfoLabel("lblRisultatoHT", m_el.picInfo, 1845, 495, "0-0", kWhite);
    m_el.lblFT = MakeInfoLabel("lblFT", m_el.picInfo, 2295, 495, "FT", kRed);
    m_el.lblRisultatoFT = MakeInfoLabel("lblRisultatoFT", m_el.picInfo, 2715, 495, "0-0", kWhite);
    m_el.lblInfo = MakeInfoLabel("lblInfo", m_el.picInfo, 3255, 390, "?-?", kYellow);

    connect(m_el.lblTitolo, &CaptionLabel::clicked, this, &Pannello::raiseClick);
    connect(m_el.lblTesto, &CaptionLabel::clicked, this, &Pannello::raiseClick);
}

void Pannello::setupTimers() {
    const std::pair<QTimer*, void (Pannello::*)()> ticks[] = {
        {&m_timer1, &Pannello::titleBlink}, {&m_timer2, &Pannello::textBlink},  {&m_timer4, &Pannello::blinkFT},
        {&m_timer5, &Pannello::blinkInfo},  {&m_timer6, &Pannello::scrollStep}, {&m_timer7, &Pannello::blinkTestoPic}};
    for (const auto& [qtimer, tick] : ticks) {
        qtimer->setInterval(kBlinkIntervalMs);
        connect(qtimer, &QTimer::timeout, this, tick);
    }
    m_timer6.setInterval(kScrollIntervalMs);
    m_timer6.setTimerType(Qt::PreciseTimer);
    m_timer7.start();  // the TestoPic blink runs from creation
}

QTimer& Pannello::timer(PanelTimer which) { return const_cast<QTimer&>(std::as_const(*this).timer(which)); }

const QTimer& Pannello::timer(PanelTimer which) const {
    switch (which) {
    case PanelTimer::Titolo:
        return m_timer1;
    case PanelTimer::Testo:
        return m_timer2;
    case PanelTimer::FT:
        return m_timer4;
    case PanelTimer::Info:
        return m_timer5;
    case PanelTimer::Scroll:
        return m_timer6;
    case PanelTimer::TestoPic:
        return m_timer7;
    }
    return m_timer7;
}

bool Pannello::TimerActive(PanelTimer which) const { return timer(which).isActive(); }
int Pannello::TimerInterval(PanelTimer which) const { return timer(which).interval(); }
int Pannello::TextTopTwips() const { return m_el.lblTesto->TopTwips(); }

void Pannello::notify(std::string_view property) {
    if (m_host) m_host->PropertyChanged(property);
}

void Pannello::raiseClick() {
    if (m_sink) m_sink->Click();
}

// Values kept for the host alone: stored, saved, never shown.
void Pannello::SetBackColor(Colore value) {
    m_values.backColor = value;
    notify("BackColor");
}
void Pannello::SetForeColor(Colore value) {
    m_values.foreColor = value;
    notify("ForeColor");
}
void Pannello::SetFont(FontRef value) {
    m_values.font = std::move(value);
    notify("Font");
}
void Pannello::SetBackStyle(std::int16_t value) {
    m_values.backStyle = value;
    notify("BackStyle");
}
void Pannello::SetBorderStyle(std::int16_t value) {
    m_values.borderStyle = value;
    notify("BorderStyle");
}
void Pannello::SetEnabled(bool value) {
    m_values.enabled = value;
    notify("Enabled");
}
void Pannello::SetScrollTesto(const Testo& value) {
    m_values.scrollTesto = value;
    notify("ScrollTesto");
}
void Pannello::SetTempoTesto(const Testo& value) {
    m_values.tempoTesto = value;
    notify("TempoTesto");
}
void Pannello::SetTempoColore(Colore value) {
    m_values.tempoColore = value;
    notify("TempoColore");
}
void Pannello::SetMinutiTesto(const Testo& value) {
    m_values.minutiTesto = value;
    notify("MinutiTesto");
}
void Pannello::SetMinutiColore(Colore value) {
    m_values.minutiColore = value;
    notify("MinutiColore");
}

Testo Pannello::Titolo() const { return m_el.lblTitolo->Caption(); }
void Pannello::SetTitolo(const Testo& value) {
    m_el.lblTitolo->SetCaption(value);
    m_el.lblOmbraTitolo->SetCaption(value);
    notify("Titolo");
}

FontRef Pannello::TitoloFont() const { return m_el.lblTitolo->SharedFont(); }
void Pannello::SetTitoloFont(FontRef value) {
    m_el.lblTitolo->SetSharedFont(std::move(value));
    m_el.lblOmbraTitolo->SetSharedFont(m_el.lblTitolo->SharedFont());
    notify("TitoloFont");
}

// Captions and fore colours that go straight to one label.
void Pannello::writeCaption(CaptionLabel& label, const Testo& value, std::string_view property) {
    label.SetCaption(value);
    notify(property);
}

void Pannello::writeForeColour(CaptionLabel& label, Colore value, std::string_view property) {
    label.SetForeColour(value);
    notify(property);
}

Colore Pannello::TitoloColore() const { return m_el.lblTitolo->ForeColour(); }
void Pannello::SetTitoloColore(Colore value) { writeForeColour(*m_el.lblTitolo, value, "TitoloColore"); }
Colore Pannello::TitoloOmbra() const { return m_el.lblOmbraTitolo->ForeColour(); }
void Pannello::SetTitoloOmbra(Colore value) { writeForeColour(*m_el.lblOmbraTitolo, value, "TitoloOmbra"); }
Testo Pannello::GetTesto() const { return m_el.lblTesto->Caption(); }
void Pannello::SetTesto(const Testo& value) { writeCaption(*m_el.lblTesto, value, "Testo"); }
Colore Pannello::TestoColore() const { return m_el.lblTesto->ForeColour(); }
void Pannello::SetTestoColore(Colore value) { writeForeColour(*m_el.lblTesto, value, "TestoColore"); }
Testo Pannello::HT() const { return m_el.lblHT->Caption(); }
void Pannello::SetHT(const Testo& value) { writeCaption(*m_el.lblHT, value, "HT"); }
Colore Pannello::HTColore() const { return m_el.lblHT->ForeColour(); }
void Pannello::SetHTColore(Colore value) { writeForeColour(*m_el.lblHT, value, "HTColore"); }
Testo Pannello::FT() const { return m_el.lblFT->Caption(); }
void Pannello::SetFT(const Testo& value) { writeCaption(*m_el.lblFT, value, "FT"); }
Colore Pannello::FTColore() const { return m_el.lblFT->ForeColour(); }
void Pannello::SetFTColore(Colore value) { writeForeColour(*m_el.lblFT, value, "FTColore"); }
Testo Pannello::HTTesto() const { return m_el.lblRisultatoHT->Caption(); }
void Pannello::SetHTTesto(const Testo& value) { writeCaption(*m_el.lblRisultatoHT, value, "HTTesto"); }
Colore Pannello::HTTestoColore() const { return m_el.lblRisultatoHT->ForeColour(); }
void Pannello::SetHTTestoColore(Colore value) { writeForeColour(*m_el.lblRisultatoHT, value, "HTTestoColore"); }
Testo Pannello::FTTesto() const { return m_el.lblRisultatoFT->Caption(); }
void Pannello::SetFTTesto(const Testo& value) { writeCaption(*m_el.lblRisultatoFT, value, "FTTesto"); }
Colore Pannello::FTTestoColore() const { return m_el.lblRisultatoFT->ForeColour(); }
void Pannello::SetFTTestoColore(Colore value) { writeForeColour(*m_el.lblRisultatoFT, value, "FTTestoColore"); }
Testo Pannello::InfoTesto() const { return m_el.lblInfo->Caption(); }
void Pannello::SetInfoTesto(const Testo& value) { writeCaption(*m_el.lblInfo, value, "InfoTesto"); }
Colore Pannello::InfoColore() const { return m_el.lblInfo->ForeColour(); }
void Pannello::SetInfoColore(Colore value) { writeForeColour(*m_el.lblInfo, value, "InfoColore"); }

PictureRef Pannello::PictureTitolo() const { return m_el.picTitolo->Picture(); }
void Pannello::SetPictureTitolo(PictureRef value) {
    m_el.picTitolo->SetPicture(std::move(value));
    notify("PictureTitolo");
}
PictureRef Pannello::PictureTesto() const { return m_el.picTesto->Picture(); }
void Pannello::SetPictureTesto(PictureRef value) {
    m_el.picTesto->SetPicture(std::move(value));
    notify("PictureTesto");
}
PictureRef Pannello::PictureInfo() const { return m_el.picInfo->Picture(); }
void Pannello::SetPictureInfo(PictureRef value) {
    m_el.picInfo->SetPicture(std::move(value));
    notify("PictureInfo");
}

// The values are stored before drawing, so they stay stored when it fails.
void Pannello::SetTestoPic(const Testo& value) {
    m_values.testoPic = value;
    notify("TestoPic");
    m_values.testoPicCopia = value;
    disegnaTestoPic(m_values.testoPicCopia);
}

Pannello* CreateInitialisedPannello(QWidget* parent, PannelloHost* host) {
    auto* panel = new Pannello(parent, host);
    panel->Initialise();
    return panel;
}

}  // namespace Pannello2
