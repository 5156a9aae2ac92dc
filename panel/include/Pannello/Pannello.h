// Public interface of the Pannello result panel control (type library Pannello2).
//
// The host talks to a panel only through `_Pannello` (properties and methods),
// receives its events through `__Pannello`, and supplies notifications and the
// ambient font through `PannelloHost`. This header is plain C++: texts are
// Windows-1252 bytes, colours are 0x00BBGGRR, so code that drives panels can be
// compiled and tested without Qt or the library.
//
// Failures: the `TestoPic` write and `HTFisso` throw `Pannello2::MarkupError`
// when the markup cannot be drawn. The write stores the value (and its copy)
// before drawing, so the values stay stored when it throws. `Load` throws
// `Pannello2::TypeMismatch` for a saved value of the wrong type.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

class QWidget;

namespace Pannello2 {

using Colore = std::uint32_t;  // 0x00BBGGRR: red in the low byte
using Testo = std::string;     // Windows-1252 text

// A font object shared by reference: whoever holds it may change name, size
// and bold, and every label that uses it follows.
class Font {
public:
    Font(std::string name, double points, bool bold) : m_name(std::move(name)), m_points(points), m_bold(bold) {}
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const std::string& Name() const { return m_name; }
    double Size() const { return m_points; }
    bool Bold() const { return m_bold; }

    void SetName(std::string name) {
        m_name = std::move(name);
        changed();
    }
    void SetSize(double points) {
        m_points = points;
        changed();
    }
    void SetBold(bool bold) {
        m_bold = bold;
        changed();
    }

    // Called after every change; returns a token for Unsubscribe.
    int Subscribe(std::function<void()> listener) {
        m_listeners.emplace(++m_lastToken, std::move(listener));
        return m_lastToken;
    }
    void Unsubscribe(int token) { m_listeners.erase(token); }

private:
    void changed() {
        const auto listeners = m_listeners;  // a listener may unsubscribe
        for (const auto& [token, listener] : listeners) listener();
    }

    std::string m_name;
    double m_points;
    bool m_bold;
    int m_lastToken = 0;
    std::map<int, std::function<void()>> m_listeners;
};
using FontRef = std::shared_ptr<Font>;

inline FontRef MakeFont(std::string name, double points, bool bold) {
    return std::make_shared<Font>(std::move(name), points, bold);
}

// A picture object: encoded image bytes (JPEG, PNG, ...).
struct Picture {
    std::vector<unsigned char> encoded;
};
using PictureRef = std::shared_ptr<const Picture>;

// Failure to draw a markup text: an invalid argument ("[" without any "]",
// colour index outside 0..15) or an overflow (number outside 16 bits).
class MarkupError : public std::runtime_error {
public:
    enum class Kind { InvalidArgument, Overflow };
    MarkupError(Kind kind, const std::string& what) : std::runtime_error(what), m_kind(kind) {}
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// A saved value of the wrong type for its key; the restore stops at that key.
class TypeMismatch : public std::runtime_error {
public:
    explicit TypeMismatch(const std::string& key)
        : std::runtime_error("type mismatch for saved property \"" + key + "\""), m_key(key) {}
    const std::string& key() const { return m_key; }

private:
    std::string m_key;
};

// The saved property set. The host supplies the storage; key names are
// matched without regard to case by the bag.
using PropertyValue = std::variant<std::int32_t, bool, Testo, FontRef, PictureRef>;

class PropertyBag {
public:
    virtual ~PropertyBag() = default;
    virtual std::optional<PropertyValue> Read(std::string_view key) const = 0;
    virtual void Write(std::string_view key, const PropertyValue& value) = 0;
};

// Events of the control. Only Click is ever raised.
class __Pannello {
public:
    virtual ~__Pannello() = default;
    virtual void Click() {}
    virtual void KeyDown(std::int16_t& /*keyCode*/, std::int16_t& /*shift*/) {}
    virtual void KeyUp(std::int16_t& /*keyCode*/, std::int16_t& /*shift*/) {}
    virtual void KeyPress(std::int16_t& /*keyAscii*/) {}
    virtual void MouseDown(std::int16_t& /*button*/, std::int16_t& /*shift*/, float& /*x*/, float& /*y*/) {}
    virtual void MouseMove(std::int16_t& /*button*/, std::int16_t& /*shift*/, float& /*x*/, float& /*y*/) {}
    virtual void MouseUp(std::int16_t& /*button*/, std::int16_t& /*shift*/, float& /*x*/, float& /*y*/) {}
};

// The host's side of a panel.
class PannelloHost {
public:
    virtual ~PannelloHost() = default;
    // One call per property write, carrying the property's name.
    virtual void PropertyChanged(std::string_view /*name*/) {}
    // The font a freshly placed panel takes for Font and TitoloFont.
    virtual FontRef AmbientFont() { return MakeFont("MS Sans Serif", 8.25, false); }
    // The factor the host draws its display at; a panel is drawn at it from
    // creation on: its elements, fonts and pictures. Below 1 it shrinks.
    virtual double AmbientScale() { return 1.0; }
};

// The control's default interface, members in slot order.
class _Pannello {
public:
    virtual ~_Pannello() = default;

    // The visual control; null for panels that have no surface (test fakes).
    virtual QWidget* Widget() = 0;
    // Where events go; null for none. The sink must outlive the panel or be reset.
    virtual void Advise(__Pannello* sink) = 0;

    virtual Colore BackColor() const = 0;  // 1
    virtual void SetBackColor(Colore value) = 0;
    virtual Colore ForeColor() const = 0;  // 2
    virtual void SetForeColor(Colore value) = 0;
    virtual FontRef GetFont() const = 0;  // 3
    virtual void SetFont(FontRef value) = 0;
    virtual std::int16_t BackStyle() const = 0;  // 4
    virtual void SetBackStyle(std::int16_t value) = 0;
    virtual std::int16_t BorderStyle() const = 0;  // 5
    virtual void SetBorderStyle(std::int16_t value) = 0;
    virtual void Refresh() = 0;        // 6
    virtual Testo Titolo() const = 0;  // 7
    virtual void SetTitolo(const Testo& value) = 0;
    virtual Colore TitoloColore() const = 0;  // 8
    virtual void SetTitoloColore(Colore value) = 0;
    virtual Colore TitoloOmbra() const = 0;  // 9
    virtual void SetTitoloOmbra(Colore value) = 0;
    virtual Testo GetTesto() const = 0;  // 10
    virtual void SetTesto(const Testo& value) = 0;
    virtual Colore TestoColore() const = 0;  // 11
    virtual void SetTestoColore(Colore value) = 0;
    virtual Testo HT() const = 0;  // 12
    virtual void SetHT(const Testo& value) = 0;
    virtual Colore HTColore() const = 0;  // 13
    virtual void SetHTColore(Colore value) = 0;
    virtual Testo FT() const = 0;  // 14
    virtual void SetFT(const Testo& value) = 0;
    virtual Colore FTColore() const = 0;  // 15
    virtual void SetFTColore(Colore value) = 0;
    virtual Testo HTTesto() const = 0;  // 16
    virtual void SetHTTesto(const Testo& value) = 0;
    virtual Colore HTTestoColore() const = 0;  // 17
    virtual void SetHTTestoColore(Colore value) = 0;
    virtual Testo FTTesto() const = 0;  // 18
    virtual void SetFTTesto(const Testo& value) = 0;
    virtual Colore FTTestoColore() const = 0;  // 19
    virtual void SetFTTestoColore(Colore value) = 0;
    virtual Testo InfoTesto() const = 0;  // 20
    virtual void SetInfoTesto(const Testo& value) = 0;
    virtual Colore InfoColore() const = 0;  // 21
    virtual void SetInfoColore(Colore value) = 0;
    virtual bool TitoloLampeggio() = 0;  // 22..32: all return false
    virtual bool TitoloFisso() = 0;
    virtual bool TestoLampeggio() = 0;
    virtual bool TestoFisso() = 0;
    virtual bool HTLampeggio() = 0;
    virtual bool HTFisso() = 0;  // throws MarkupError
    virtual bool FTLampeggio() = 0;
    virtual bool FTFisso() = 0;
    virtual bool InfoLampeggio() = 0;
    virtual bool InfoFisso() = 0;
    virtual bool Pulisci() = 0;
    virtual bool Enabled() const = 0;  // 33
    virtual void SetEnabled(bool value) = 0;
    virtual bool ScrollVerticale() const = 0;  // 34
    virtual void SetScrollVerticale(bool value) = 0;
    virtual PictureRef PictureTitolo() const = 0;  // 35
    virtual void SetPictureTitolo(PictureRef value) = 0;
    virtual PictureRef PictureTesto() const = 0;  // 36
    virtual void SetPictureTesto(PictureRef value) = 0;
    virtual PictureRef PictureInfo() const = 0;  // 37
    virtual void SetPictureInfo(PictureRef value) = 0;
    virtual Testo ScrollTesto() const = 0;  // 38
    virtual void SetScrollTesto(const Testo& value) = 0;
    virtual FontRef TitoloFont() const = 0;  // 39
    virtual void SetTitoloFont(FontRef value) = 0;
    virtual Testo TempoTesto() const = 0;  // 40
    virtual void SetTempoTesto(const Testo& value) = 0;
    virtual Colore TempoColore() const = 0;  // 41
    virtual void SetTempoColore(Colore value) = 0;
    virtual Testo MinutiTesto() const = 0;  // 42
    virtual void SetMinutiTesto(const Testo& value) = 0;
    virtual Colore MinutiColore() const = 0;  // 43
    virtual void SetMinutiColore(Colore value) = 0;
    virtual Testo TestoPic() const = 0;                // 44
    virtual void SetTestoPic(const Testo& value) = 0;  // throws MarkupError

    // Creation: the factory runs the initialisation; the host then calls
    // exactly one of InitNew (first placement) or Load (re-creation).
    virtual void InitNew() = 0;
    virtual void Load(const PropertyBag& bag) = 0;  // throws TypeMismatch
    virtual void Save(PropertyBag& bag) const = 0;
};

}  // namespace Pannello2
