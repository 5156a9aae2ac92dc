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
#include "display/ScoreFlash.h"

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

    // Members the display only writes: logged by name, read back as zero.
#define CALTRIX_FAKE_UNREAD(Type, ParamType, Name) \
    Type Name() const override { return {}; }      \
    void Set##Name(ParamType) override { record(#Name); }
    CALTRIX_FAKE_UNREAD(Pannello2::Colore, Pannello2::Colore, BackColor)
    CALTRIX_FAKE_UNREAD(Pannello2::Colore, Pannello2::Colore, ForeColor)
    CALTRIX_FAKE_UNREAD(std::int16_t, std::int16_t, BackStyle)
    CALTRIX_FAKE_UNREAD(std::int16_t, std::int16_t, BorderStyle)
    CALTRIX_FAKE_UNREAD(bool, bool, Enabled)
    CALTRIX_FAKE_UNREAD(Pannello2::PictureRef, Pannello2::PictureRef, PictureTitolo)
    CALTRIX_FAKE_UNREAD(Pannello2::PictureRef, Pannello2::PictureRef, PictureTesto)
    CALTRIX_FAKE_UNREAD(Pannello2::PictureRef, Pannello2::PictureRef, PictureInfo)
    CALTRIX_FAKE_UNREAD(Pannello2::Testo, const Pannello2::Testo&, TempoTesto)
    CALTRIX_FAKE_UNREAD(Pannello2::Colore, Pannello2::Colore, TempoColore)
    CALTRIX_FAKE_UNREAD(Pannello2::Testo, const Pannello2::Testo&, MinutiTesto)
    CALTRIX_FAKE_UNREAD(Pannello2::Colore, Pannello2::Colore, MinutiColore)
#undef CALTRIX_FAKE_UNREAD

    // Colours logged with their value, read back as zero.
#define CALTRIX_FAKE_COLOUR(Name)                         \
    Pannello2::Colore Name() const override { return 0; } \
    void Set##Name(Pannello2::Colore v) override { record(#Name "=" + hex(v)); }
    CALTRIX_FAKE_COLOUR(TitoloColore)
    CALTRIX_FAKE_COLOUR(TitoloOmbra)
    CALTRIX_FAKE_COLOUR(TestoColore)
    CALTRIX_FAKE_COLOUR(HTColore)
    CALTRIX_FAKE_COLOUR(HTTestoColore)
    CALTRIX_FAKE_COLOUR(FTTestoColore)
    CALTRIX_FAKE_COLOUR(InfoColore)
#undef CALTRIX_FAKE_COLOUR

    // Texts stored and logged with their value.
#define CALTRIX_FAKE_TEXT(Getter, Name, member)                 \
    Pannello2::Testo Getter() const override { return member; } \
    void Set##Name(const Pannello2::Testo& v) override {        \
        member = v;                                             \
        record(#Name "=" + v);                                  \
    }
    CALTRIX_FAKE_TEXT(Titolo, Titolo, m_titolo)
    CALTRIX_FAKE_TEXT(GetTesto, Testo, m_markup)
    CALTRIX_FAKE_TEXT(HT, HT, m_ht)
    CALTRIX_FAKE_TEXT(FT, FT, m_ft)
    CALTRIX_FAKE_TEXT(HTTesto, HTTesto, m_htTesto)
    CALTRIX_FAKE_TEXT(FTTesto, FTTesto, m_ftTesto)
    CALTRIX_FAKE_TEXT(InfoTesto, InfoTesto, m_infoTesto)
    CALTRIX_FAKE_TEXT(ScrollTesto, ScrollTesto, m_scrollTesto)
#undef CALTRIX_FAKE_TEXT

    // Methods logged as calls.
#define CALTRIX_FAKE_CALL(Name) \
    bool Name() override { return call(#Name "()"); }
    CALTRIX_FAKE_CALL(TitoloLampeggio)
    CALTRIX_FAKE_CALL(TitoloFisso)
    CALTRIX_FAKE_CALL(TestoLampeggio)
    CALTRIX_FAKE_CALL(TestoFisso)
    CALTRIX_FAKE_CALL(HTLampeggio)
    CALTRIX_FAKE_CALL(FTLampeggio)
    CALTRIX_FAKE_CALL(FTFisso)
    CALTRIX_FAKE_CALL(InfoLampeggio)
    CALTRIX_FAKE_CALL(InfoFisso)
    CALTRIX_FAKE_CALL(Pulisci)
#undef CALTRIX_FAKE_CALL

    Pannello2::FontRef GetFont() const override { return m_font; }
    void SetFont(Pannello2::FontRef value) override {
        m_font = value;
        record("Font");
    }
    Pannello2::FontRef TitoloFont() const override { return m_font; }
    void SetTitoloFont(Pannello2::FontRef v) override {
        m_font = v;
        record("TitoloFont");
    }
    void Refresh() override { record("Refresh()"); }
    Pannello2::Colore FTColore() const override { return m_ftColore; }
    void SetFTColore(Pannello2::Colore v) override {
        m_ftColore = v;
        record("FTColore=" + hex(v));
    }
    bool HTFisso() override {
        call("HTFisso()");
        draw(m_testoPicCopy);
        return false;
    }
    bool ScrollVerticale() const override { return m_scroll; }
    void SetScrollVerticale(bool v) override {
        m_scroll = v;
        record(std::string("ScrollVerticale=") + (v ? "1" : "0"));
    }
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
