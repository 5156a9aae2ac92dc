// The result panel control: three picture strips with their labels, the
// values the panel keeps, blink and scroll timers, the markup drawing in the
// info strip, and the saved property set.
#pragma once

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>

#include <Pannello/Pannello.h>

#include "Twips.h"

namespace Pannello2 {

class CaptionLabel;
class PictureStrip;

// The panel's working timers, numbered as designed.
enum class PanelTimer { Titolo = 1, Testo = 2, FT = 4, Info = 5, Scroll = 6, TestoPic = 7 };

class Pannello : public QWidget, public _Pannello {
    Q_OBJECT

public:
    // Seconds of the current wall-clock minute (0..59); the TestoPic blink
    // draws in odd seconds and clears in even ones.
    using SecondsClock = std::function<int()>;

    // Builds the surface; the factory then runs Initialise.
    Pannello(QWidget* parent, PannelloHost* host);
    ~Pannello() override;

    // The initialisation every creation runs before InitNew or Load.
    void Initialise();

    void SetClock(SecondsClock clock) { m_clock = std::move(clock); }
    // One tick of a timer, as the running timer would call it.
    void Tick(PanelTimer timer);
    bool TimerActive(PanelTimer timer) const;
    int TimerInterval(PanelTimer timer) const;
    std::int16_t ContatoreScroll() const { return m_values.contatoreScroll; }
    int TextTopTwips() const;

    // _Pannello
    QWidget* Widget() override { return this; }
    void Advise(__Pannello* sink) override { m_sink = sink; }

    Colore BackColor() const override { return m_values.backColor; }
    void SetBackColor(Colore value) override;
    Colore ForeColor() const override { return m_values.foreColor; }
    void SetForeColor(Colore value) override;
    FontRef GetFont() const override { return m_values.font; }
    void SetFont(FontRef value) override;
    std::int16_t BackStyle() const override { return m_values.backStyle; }
    void SetBackStyle(std::int16_t value) override;
    std::int16_t BorderStyle() const override { return m_values.borderStyle; }
    void SetBorderStyle(std::int16_t value) override;
    void Refresh() override {}
    Testo Titolo() const override;
    void SetTitolo(const Testo& value) override;
    Colore TitoloColore() const override;
    void SetTitoloColore(Colore value) override;
    Colore TitoloOmbra() const override;
    void SetTitoloOmbra(Colore value) override;
    Testo GetTesto() const override;
    void SetTesto(const Testo& value) override;
    Colore TestoColore() const override;
    void SetTestoColore(Colore value) override;
    Testo HT() const override;
    void SetHT(const Testo& value) override;
    Colore HTColore() const override;
    void SetHTColore(Colore value) override;
    Testo FT() const override;
    void SetFT(const Testo& value) override;
    Colore FTColore() const override;
    void SetFTColore(Colore value) override;
    Testo HTTesto() const override;
    void SetHTTesto(const Testo& value) override;
    Colore HTTestoColore() const override;
    void SetHTTestoColore(Colore value) override;
    Testo FTTesto() const override;
    void SetFTTesto(const Testo& value) override;
    Colore FTTestoColore() const override;
    void SetFTTestoColore(Colore value) override;
    Testo InfoTesto() const override;
    void SetInfoTesto(const Testo& value) override;
    Colore InfoColore() const override;
    void SetInfoColore(Colore value) override;
    bool TitoloLampeggio() override;
    bool TitoloFisso() override;
    bool TestoLampeggio() override;
    bool TestoFisso() override;
    bool HTLampeggio() override;
    bool HTFisso() override;
    bool FTLampeggio() override;
    bool FTFisso() override;
    bool InfoLampeggio() override;
    bool InfoFisso() override;
    bool Pulisci() override;
    bool Enabled() const override { return m_values.enabled; }
    void SetEnabled(bool value) override;
    bool ScrollVerticale() const override { return m_values.scrollVerticale; }
    void SetScrollVerticale(bool value) override;
    PictureRef PictureTitolo() const override;
    void SetPictureTitolo(PictureRef value) override;
    PictureRef PictureTesto() const override;
    void SetPictureTesto(PictureRef value) override;
    PictureRef PictureInfo() const override;
    void SetPictureInfo(PictureRef value) override;
    Testo ScrollTesto() const override { return m_values.scrollTesto; }
    void SetScrollTesto(const Testo& value) override;
    FontRef TitoloFont() const override;
    void SetTitoloFont(FontRef value) override;
    Testo TempoTesto() const override { return m_values.tempoTesto; }
    void SetTempoTesto(const Testo& value) override;
    Colore TempoColore() const override { return m_values.tempoColore; }
    void SetTempoColore(Colore value) override;
    Testo MinutiTesto() const override { return m_values.minutiTesto; }
    void SetMinutiTesto(const Testo& value) override;
    Colore MinutiColore() const override { return m_values.minutiColore; }
    void SetMinutiColore(Colore value) override;
    Testo TestoPic() const override { return m_values.testoPic; }
    void SetTestoPic(const Testo& value) override;

    void InitNew() override;
    void Load(const PropertyBag& bag) override;
    void Save(PropertyBag& bag) const override;

    // The values kept besides the child elements.
    struct StoredValues {
        Colore backColor = 0;
        Colore foreColor = 0;
        FontRef font;
        std::int16_t backStyle = 0;
        std::int16_t borderStyle = 0;
        bool enabled = false;
        bool scrollVerticale = false;
        Testo scrollTesto;
        Testo tempoTesto;
        Colore tempoColore = 15;
        Testo minutiTesto;
        Colore minutiColore = 15;
        Testo testoPic;
        Testo testoPicCopia;
        std::int16_t contatoreScroll = 60;
        // The surface beneath the strips: saved and restored, never shown.
        PictureRef ownPicture;
    };

    // The child elements, by their design names.
    struct Elements {
        PictureStrip* picTitolo;
        PictureStrip* picTesto;
        PictureStrip* picInfo;
        CaptionLabel* lblOmbraTitolo;
        CaptionLabel* lblTitolo;
        CaptionLabel* lblTesto;
        CaptionLabel* lblHT;
        CaptionLabel* lblRisultatoHT;
        CaptionLabel* lblFT;
        CaptionLabel* lblRisultatoFT;
        CaptionLabel* lblInfo;
    };

private:
    void buildSurface();
    void setupTimers();
    void notify(std::string_view property);
    void writeCaption(CaptionLabel& label, const Testo& value, std::string_view property);
    void writeForeColour(CaptionLabel& label, Colore value, std::string_view property);
    void raiseClick();
    QTimer& timer(PanelTimer which);
    const QTimer& timer(PanelTimer which) const;

    // Draws a markup text into the info strip; throws MarkupError.
    void disegnaTestoPic(const Testo& markup);

    void titleBlink();
    void textBlink();
    void blinkFT();
    void blinkInfo();
    void scrollStep();
    void blinkTestoPic();

    PannelloHost* m_host;
    TwipsScale m_scale;
    __Pannello* m_sink = nullptr;
    Elements m_el{};
    StoredValues m_values;
    SecondsClock m_clock;
    QTimer m_timer1, m_timer2, m_timer4, m_timer5, m_timer6, m_timer7;
};

// A panel as the factory hands it out: built and initialised.
Pannello* CreateInitialisedPannello(QWidget* parent, PannelloHost* host);

}  // namespace Pannello2
