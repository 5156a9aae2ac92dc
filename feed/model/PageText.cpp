#include "feed/model/PageText.h"

#include <array>
#include <optional>

namespace caltrix::feed {
namespace {

// Base letters of the Latin Extended-A and -B blocks (U+0100..U+024F) and of
// Latin Extended Additional (U+1E00..U+1EFF), one character per code point;
// "?" marks a character without a single base letter.
constexpr std::string_view kLatinExtended =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOoOo??RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs"
    "bB?????Cc?DDd??EEF?G???IKkl??Nn?Oo??Pp?????tTtTUu?VYyZz?????????"
    "?????????????AaIiOoUuUuUuUuUu?AaAa??GgGgKkOoOo??j???Gg??NnAa????"
    "AaAaEeEeIiIiOoOoRrRrUuUuSsTt??Hh?d??ZzAaEeOoOoOoOoYylntj??ACcL??"
    "z??BU?EeJj??RrYy";
constexpr std::string_view kLatinAdditional =
    "AaBbBbBbCcDdDdDdDdDdEeEeEeEeEeFfGgHhHhHhHhHhIiIiKkKkKkLlLlLlLlMm"
    "MmMmNnNnNnNnOoOoOoOoPpPpRrRrRrRrSsSsSsSsSsTtTtTtTtUuUuUuUuUuVvVv"
    "WwWwWwWwWwXxXxYyZzZzZzhtwy?s????AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEe"
    "EeEeEeEeIiIiOoOoOoOoOoOoOoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy??????";
constexpr char32_t kAdditionalStart = 0x1E00;
static_assert(kLatinExtended.size() == 0x250 - 0x100 && kLatinAdditional.size() == 0x100);

// The characters that Windows-1252 places at 0x80..0x9F.
constexpr std::array<char32_t, 27> kWindows1252High = {
    0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x017D, 0x2018,
    0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};

bool inWindows1252(char32_t c) {
    if (c >= 0x20 && c < 0x7F) return true;
    if (c >= 0xA0 && c <= 0xFF) return true;
    for (char32_t high : kWindows1252High)
        if (c == high) return true;
    return false;
}

// The base letter of `c`, when it has one.
std::optional<char> baseLetter(char32_t c) {
    char letter = '?';
    if (c >= 0x100 && c < 0x250) letter = kLatinExtended[c - 0x100];
    if (c >= kAdditionalStart && c < kAdditionalStart + kLatinAdditional.size())
        letter = kLatinAdditional[c - kAdditionalStart];
    if (letter == '?') return std::nullopt;
    return letter;
}

// Decodes the UTF-8 sequence at `text[pos]`, advancing `pos`; nullopt for an
// invalid or overlong sequence (one byte is skipped).
std::optional<char32_t> decode(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0)
        extra = 1, c = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0)
        extra = 2, c = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0)
        extra = 3, c = lead & 0x07;
    else
        return std::nullopt;
    const std::size_t start = pos;
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        pos = start;
        return std::nullopt;
    }
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string Windows1252Letters(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto c = decode(utf8, pos);
        if (!c) continue;
        if (inWindows1252(*c)) {
            appendUtf8(out, *c);
        } else if (const auto letter = baseLetter(*c)) {
            out += *letter;
        }
    }
    return out;
}

std::string EscapeMarkup(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

}  // namespace caltrix::feed
