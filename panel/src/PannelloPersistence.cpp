// The panel's saved property set: first-placement defaults, restore from a
// saved state and save, over 32 keys read and written in a fixed order.
#include "PannelloControl.h"

#include "BuiltinPictures.h"
#include "CaptionLabel.h"
#include "Fonts.h"
#include "PictureStrip.h"

#include <limits>
#include <type_traits>

namespace Pannello2 {
namespace {

using Elements = Pannello::Elements;
using StoredValues = Pannello::StoredValues;

// Numbers of every width travel as 32-bit integers in the bag.
template <typename T>
constexpr bool kTravelsAsInteger = std::is_same_v<T, Colore> || std::is_same_v<T, std::int16_t>;

template <typename T>
PropertyValue ToValue(const T& value) {
    if constexpr (kTravelsAsInteger<T>) {
        return PropertyValue(std::in_place_type<std::int32_t>, static_cast<std::int32_t>(value));
    } else {
        return PropertyValue(std::in_place_type<T>, value);
    }
}

template <typename T>
T FromValue(const PropertyValue& value) {
    if constexpr (kTravelsAsInteger<T>) {
        return static_cast<T>(std::get<std::int32_t>(value));
    } else {
        return std::get<T>(value);
    }
}

// Whether a saved value can be restored into a T: the right alternative and,
// for a 16-bit value, within 16 bits (it is never cut down).
template <typename T>
bool Fits(const PropertyValue& value) {
    if (value.index() != ToValue(T{}).index()) return false;
    if constexpr (std::is_same_v<T, std::int16_t>) {
        const std::int32_t number = std::get<std::int32_t>(value);
        return number >= std::numeric_limits<T>::min() && number <= std::numeric_limits<T>::max();
    }
    return true;
}

// The host's ambient font; the default one when there is no host or it offers none.
FontRef AmbientFont(PannelloHost* host) {
    FontRef ambient = host ? host->AmbientFont() : nullptr;
    return ambient ? ambient : PannelloHost{}.AmbientFont();
}

struct SavedKey {
    const char* name;
    bool (*fits)(const PropertyValue&);  // whether a saved value has the key's type
    std::function<PropertyValue(PannelloHost*)> defaultValue;
    std::function<PropertyValue(const Elements&, const StoredValues&)> save;
    std::function<void(Elements&, StoredValues&, const PropertyValue&)> restore;
    bool alwaysSaved = false;
};

template <typename T>
SavedKey StoredKey(const char* name, T StoredValues::*field, T byDefault) {
    return {
        name, Fits<T>, [byDefault](PannelloHost*) { return ToValue(byDefault); },
        [field](const Elements&, const StoredValues& values) { return ToValue(values.*field); },
        [field](Elements&, StoredValues& values, const PropertyValue& value) { values.*field = FromValue<T>(value); }};
}

SavedKey CaptionKey(const char* name, CaptionLabel* Elements::*label, const char* byDefault) {
    return {name, Fits<Testo>, [byDefault](PannelloHost*) { return ToValue(Testo(byDefault)); },
            [label](const Elements& el, const StoredValues&) { return ToValue((el.*label)->Caption()); },
            [label](Elements& el, StoredValues&, const PropertyValue& value) {
                (el.*label)->SetCaption(FromValue<Testo>(value));
            }};
}

SavedKey ColourKey(const char* name, CaptionLabel* Elements::*label, Colore byDefault) {
    return {name, Fits<Colore>, [byDefault](PannelloHost*) { return ToValue(byDefault); },
            [label](const Elements& el, const StoredValues&) { return ToValue((el.*label)->ForeColour()); },
            [label](Elements& el, StoredValues&, const PropertyValue& value) {
                (el.*label)->SetForeColour(FromValue<Colore>(value));
            }};
}

// Font keys default to the host's ambient font and are saved every time.
SavedKey FontKey(const char* name, std::function<FontRef(const Elements&, const StoredValues&)> get,
                 std::function<void(Elements&, StoredValues&, FontRef)> set) {
    return {name,
            Fits<FontRef>,
            [](PannelloHost* host) { return ToValue(AmbientFont(host)); },
            [get](const Elements& el, const StoredValues& values) { return ToValue(get(el, values)); },
            [set](Elements& el, StoredValues& values, const PropertyValue& value) {
                set(el, values, FromValue<FontRef>(value));
            },
            true};
}

const std::vector<SavedKey>& SavedKeys() {
    static const std::vector<SavedKey> keys = {
        StoredKey<Colore>("BackColor", &StoredValues::backColor, 0),
        StoredKey<Colore>("ForeColor", &StoredValues::foreColor, 0),
        FontKey(
            "Font", [](const Elements&, const StoredValues& values) { return values.font; },
            [](Elements&, StoredValues& values, FontRef font) { values.font = std::move(font); }),
        StoredKey<std::int16_t>("BackStyle", &StoredValues::backStyle, 0),
        StoredKey<std::int16_t>("BorderStyle", &StoredValues::borderStyle, 0),
        CaptionKey("Titolo", &Elements::lblTitolo, "Label1"),
        ColourKey("TitoloColore", &Elements::lblTitolo, 0xFFFFFF),
        ColourKey("TitoloOmbra", &Elements::lblOmbraTitolo, 0x000000),
        CaptionKey("Testo", &Elements::lblTesto, "Label2"),
        ColourKey("TestoColore", &Elements::lblTesto, 0xFFFFFF),
        CaptionKey("HT", &Elements::lblHT, "HT"),
        ColourKey("HTColore", &Elements::lblHT, 0x0000FF),
        CaptionKey("FT", &Elements::lblFT, "FT"),
        ColourKey("FTColore", &Elements::lblFT, 0x0000FF),
        CaptionKey("HTTesto", &Elements::lblRisultatoHT, "0-0"),
        ColourKey("HTTestoColore", &Elements::lblRisultatoHT, 0xFFFFFF),
        CaptionKey("FTTesto", &Elements::lblRisultatoFT, "0-0"),
        ColourKey("FTTestoColore", &Elements::lblRisultatoFT, 0xFFFFFF),
        CaptionKey("InfoTesto", &Elements::lblInfo, "Giocatore"),
        ColourKey("InfoColore", &Elements::lblInfo, 0x00FFFF),
        StoredKey<bool>("Enabled", &StoredValues::enabled, false),
        StoredKey<bool>("ScrollVerticale", &StoredValues::scrollVerticale, false),
        // All three picture keys hold the surface beneath the strips; the
        // strips themselves always start from their built-in pictures.
        StoredKey<PictureRef>("PictureTitolo", &StoredValues::ownPicture, nullptr),
        StoredKey<PictureRef>("PictureTesto", &StoredValues::ownPicture, nullptr),
        StoredKey<PictureRef>("PictureInfo", &StoredValues::ownPicture, nullptr),
        StoredKey<Testo>("ScrollTesto", &StoredValues::scrollTesto, ""),
        FontKey(
            "TitoloFont", [](const Elements& el, const StoredValues&) { return el.lblTitolo->SharedFont(); },
            [](Elements& el, StoredValues&, FontRef font) { el.lblTitolo->SetSharedFont(std::move(font)); }),
        StoredKey<Testo>("TempoTesto", &StoredValues::tempoTesto, ""),
        StoredKey<Colore>("TempoColore", &StoredValues::tempoColore, 15),
        StoredKey<Testo>("MinutiTesto", &StoredValues::minutiTesto, ""),
        StoredKey<Colore>("MinutiColore", &StoredValues::minutiColore, 15),
        StoredKey<Testo>("TestoPic", &StoredValues::testoPic, ""),
    };
    return keys;
}

bool IsNullFont(const PropertyValue& value) {
    const auto* font = std::get_if<FontRef>(&value);
    return font && !*font;
}

}  // namespace

void Pannello::InitNew() {
    m_values.backColor = 0;
    m_values.foreColor = 0;
    m_values.font = AmbientFont(m_host);
    m_values.backStyle = 0;
    m_values.borderStyle = 0;
    m_values.enabled = false;
    m_values.scrollVerticale = false;
    m_values.scrollTesto.clear();
    SetTitoloFont(AmbientFont(m_host));
    SetTitleFont(*m_el.lblTitolo->SharedFont());
    m_values.tempoTesto.clear();
    m_values.tempoColore = 15;
    m_values.minutiTesto.clear();
    m_values.minutiColore = 15;
    m_values.testoPic.clear();
}

// Writes straight into the elements and values: no notification, no scroll,
// no drawing. Stops with TypeMismatch at the first value of the wrong type.
void Pannello::Load(const PropertyBag& bag) {
    m_el.picTitolo->SetPicture(BuiltinPicture(Strip::Titolo));
    m_el.picTesto->SetPicture(BuiltinPicture(Strip::Testo));
    m_el.picInfo->SetPicture(BuiltinPicture(Strip::Info));
    for (const SavedKey& key : SavedKeys()) {
        std::optional<PropertyValue> value = bag.Read(key.name);
        if (!value || IsNullFont(*value)) value = key.defaultValue(m_host);
        if (!key.fits(*value)) throw TypeMismatch(key.name);
        key.restore(m_el, m_values, *value);
    }
}

void Pannello::Save(PropertyBag& bag) const {
    for (const SavedKey& key : SavedKeys()) {
        const PropertyValue value = key.save(m_el, m_values);
        if (IsNullFont(value)) continue;
        if (key.alwaysSaved || value != key.defaultValue(m_host)) bag.Write(key.name, value);
    }
}

}  // namespace Pannello2
