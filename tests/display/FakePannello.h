// A panel without a surface that records every call in order into a shared
// log, so tests can check the sequence of writes. Text and colour values are
// stored, so reads return what was written. Like the real panel it keeps the
// markup last written to TestoPic, also when that cannot be drawn, and fails
// with a MarkupError whenever it draws such markup: at the write and at every
// HTFisso until other markup is written.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <Pannello/Pannello.h>

#include "MarkupParser.h"
#include "display/core/ScoreFlash.h"

namespace caltrix::test {

using Log = std::vector<std::string>;

class FakePannello : public Pannello2::_Pannello {
public:
    explicit FakePannello(Log& log, std::string name = {}) : m_log(log), m_prefix(name.empty() ? "" : name + ".") {}

    QWidget* Widget() override { return nullptr; }
    void Advise(Pannello2::__Pannello* sink) override { m_sink = sink; }
    void RaiseClick() {
        if (m_sink) m_sink->Click();
    }

    Pannello2::Colore BackColor() const override { return 0; }
    void SetBackColor(Pannello2::Colore) override { record("BackColor"); }
    Pannello2::Colore ForeColor() const override { return 0; }
    void SetForeColor(Pannello2::Colore) override { record("ForeColor"); }
    Pannello2::FontRef GetFont() const override { return m_font; }
    void SetFont(Pannello2::FontRef value) override {
        m_font = value;
        record("Font");
    }
    std::int16_t BackStyle() const override { return 0; }
    void SetBackStyle(std::int16_t) override { record("BackStyle"); }
    std::int16_t BorderStyle() const override { return 0; }
    void SetBorderStyle(std::int16_t) override { record("BorderStyle"); }
    void Refresh() override { record("Refresh()"); }
    Pannello2::Testo Titolo() const override { return m_titolo; }
    void SetTitolo(const Pannello2::Testo& v) override {
        m_titolo = v;
        record("Titolo=" + v);
    }
    Pannello2::Colore TitoloColore() const override { return 0; }
    void SetTitoloColore(Pannello2::Colore v) override { record("TitoloColore=" + hex(v)); }
    Pannello2::Colore TitoloOmbra() const override { return 0; }
    void SetTitoloOmbra(Pannello2::Colore v) override { record("TitoloOmbra=" + hex(v)); }
    Pannello2::Testo GetTesto() const override { return m_markup; }
    void SetTesto(const Pannello2::Testo& v) override {
        m_markup = v;
        record("Testo=" + v);
    }
    Pannello2::Colore TestoColore() const override { return 0; }
    void SetTestoColore(Pannello2::Colore v) override { record("TestoColore=" + hex(v)); }
    Pannello2::Testo HT() const override { return m_ht; }
    void SetHT(const Pannello2::Testo& v) override {
        m_ht = v;
        record("HT=" + v);
    }
    Pannello2::Colore HTColore() const override { return 0; }
    void SetHTColore(Pannello2::Colore v) override { record("HTColore=" + hex(v)); }
    Pannello2::Testo FT() const override { return m_ft; }
    void SetFT(const Pannello2::Testo& v) override {
        m_ft = v;
        record("FT=" + v);
    }
    Pannello2::Colore FTColore() const override { return m_ftColore; }
    void SetFTColore(Pannello2::Colore v) override {
        m_ftColore = v;
        record("FTColore=" + hex(v));
    }
    Pannello2::Testo HTTesto() const override { return m_htTesto; }
    void SetHTTesto(const Pannello2::Testo& v) override {
        m_htTesto = v;
        record("HTTesto=" + v);
    }
    Pannello2::Colore HTTestoColore() const override { return 0; }
    void SetHTTestoColore(Pannello2::Colore v) override { record("HTTestoColore=" + hex(v)); }
    Pannello2::Testo FTTesto() const override { return m_ftTesto; }
    void SetFTTesto(const Pannello2::Testo& v) override {
        m_ftTesto = v;
        record("FTTesto=" + v);
    }
    Pannello2::Colore FTTestoColore() const override { return 0; }
    void SetFTTestoColore(Pannello2::Colore v) override { record("FTTestoColore=" + hex(v)); }
    Pannello2::Testo InfoTesto() const override { return m_infoTesto; }
    void SetInfoTesto(const Pannello2::Testo& v) override {
        m_infoTesto = v;
        record("InfoTesto=" + v);
    }
    Pannello2::Colore InfoColore() const override { return 0; }
    void SetInfoColore(Pannello2::Colore v) override { record("InfoColore=" + hex(v)); }
    bool TitoloLampeggio() override { return call("TitoloLampeggio()"); }
    bool TitoloFisso() override { return call("TitoloFisso()"); }
    bool TestoLampeggio() override { return call("TestoLampeggio()"); }
    bool TestoFisso() override { return call("TestoFisso()"); }
    bool HTLampeggio() override { return call("HTLampeggio()"); }
    bool HTFisso() override {
        call("HTFisso()");
        draw(m_testoPicCopy);
        return false;
    }
    bool FTLampeggio() override { return call("FTLampeggio()"); }
    bool FTFisso() override { return call("FTFisso()"); }
    bool InfoLampeggio() override { return call("InfoLampeggio()"); }
    bool InfoFisso() override { return call("InfoFisso()"); }
    bool Pulisci() override { return call("Pulisci()"); }
    bool Enabled() const override { return false; }
    void SetEnabled(bool) override { record("Enabled"); }
    bool ScrollVerticale() const override { return m_scroll; }
    void SetScrollVerticale(bool v) override {
        m_scroll = v;
        record(std::string("ScrollVerticale=") + (v ? "1" : "0"));
    }
    Pannello2::PictureRef PictureTitolo() const override { return {}; }
    void SetPictureTitolo(Pannello2::PictureRef) override { record("PictureTitolo"); }
    Pannello2::PictureRef PictureTesto() const override { return {}; }
    void SetPictureTesto(Pannello2::PictureRef) override { record("PictureTesto"); }
    Pannello2::PictureRef PictureInfo() const override { return {}; }
    void SetPictureInfo(Pannello2::PictureRef) override { record("PictureInfo"); }
    Pannello2::Testo ScrollTesto() const override { return m_scrollTesto; }
    void SetScrollTesto(const Pannello2::Testo& v) override {
        m_scrollTesto = v;
        record("ScrollTesto=" + v);
    }
    Pannello2::FontRef TitoloFont() const override { return m_font; }
    void SetTitoloFont(Pannello2::FontRef v) override {
        m_font = v;
        record("TitoloFont");
    }
    Pannello2::Testo TempoTesto() const override { return {}; }
    void SetTempoTesto(const Pannello2::Testo&) override { record("TempoTesto"); }
    Pannello2::Colore TempoColore() const override { return 0; }
    void SetTempoColore(Pannello2::Colore) override { record("TempoColore"); }
    Pannello2::Testo MinutiTesto() const override { return {}; }
    void SetMinutiTesto(const Pannello2::Testo&) override { record("MinutiTesto"); }
    Pannello2::Colore MinutiColore() const override { return 0; }
    void SetMinutiColore(Pannello2::Colore) override { record("MinutiColore"); }
    Pannello2::Testo TestoPic() const override { return m_testoPic; }
    void SetTestoPic(const Pannello2::Testo& v) override {
        m_testoPic = v;
        m_testoPicCopy = v;
        record("TestoPic=" + v);
        draw(m_testoPicCopy);
    }
    void InitNew() override {}
    void Load(const Pannello2::PropertyBag&) override {}
    void Save(Pannello2::PropertyBag&) const override {}

private:
    static std::string hex(Pannello2::Colore v) {
        char text[11];
        std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(v));
        return text;
    }
    void record(const std::string& entry) { m_log.push_back(m_prefix + entry); }
    bool call(const std::string& entry) {
        record(entry);
        return false;
    }
    static void draw(const std::string& markup) {
        if (const auto failure = Pannello2::ParseMarkup(markup).failure) {
            using Kind = Pannello2::MarkupError::Kind;
            throw Pannello2::MarkupError(
                failure->kind == Pannello2::MarkupFailure::Kind::Overflow ? Kind::Overflow : Kind::InvalidArgument,
                failure->message);
        }
    }

    Log& m_log;
    std::string m_prefix;
    Pannello2::__Pannello* m_sink = nullptr;
    Pannello2::FontRef m_font = Pannello2::MakeFont("MS Sans Serif", 8.25, false);
    bool m_scroll = false;
    Pannello2::Colore m_ftColore = 0;
    std::string m_titolo, m_markup, m_ht, m_ft, m_htTesto, m_ftTesto, m_infoTesto, m_scrollTesto, m_testoPic,
        m_testoPicCopy;
};

// A flash timer that records Start and Stop in the same log and remembers
// whether it runs.
class FakeTimer : public FlashTimer {
public:
    explicit FakeTimer(Log& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void Start() override {
        m_running = true;
        m_log.push_back(m_name + ".Start");
    }
    void Stop() override {
        m_running = false;
        m_log.push_back(m_name + ".Stop");
    }
    bool Running() const { return m_running; }

private:
    Log& m_log;
    std::string m_name;
    bool m_running = false;
};

}  // namespace caltrix::test
