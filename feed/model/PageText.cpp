#include "feed/model/PageText.h"

#include "common/Text1252.h"

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

// A name is one line of text: control characters have no place in it.
bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// The base letter of `c`; "?", as for any character Windows-1252 lacks, when
// it has none.
char baseLetter(char32_t c) {
    if (c >= 0x100 && c < 0x250) return kLatinExtended[c - 0x100];
    if (c >= kAdditionalStart && c < kAdditionalStart + kLatinAdditional.size())
        return kLatinAdditional[c - kAdditionalStart];
    return kUnmappable1252;
}

}  // namespace

std::string Windows1252Letters(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = NextUtf8Character(utf8, at);
        if (isControl(c)) continue;
        bytes += ByteOf1252(c).value_or(baseLetter(c));
    }
    return Utf8From1252(bytes);
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
