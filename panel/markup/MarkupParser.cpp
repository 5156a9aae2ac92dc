#include "MarkupParser.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace Pannello2 {
namespace {

constexpr std::array<unsigned, 16> kPalette = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// Removes "[0]" .. "[15]" in that order, each code everywhere it occurs.
std::string RemoveColourCodes(std::string_view markup) {
    std::string text(markup);
    for (int index = 0; index < 16; ++index) {
        const std::string code = "[" + std::to_string(index) + "]";
        std::string kept;
        kept.reserve(text.size());
        std::size_t from = 0;
        for (std::size_t at = text.find(code); at != std::string::npos; at = text.find(code, from)) {
            kept.append(text, from, at - from);
            from = at + code.size();
        }
        kept.append(text, from, std::string::npos);
        text = std::move(kept);
    }
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of the body's leading numeric part (blanks, sign, digits, decimal
// point); 0 when the body does not start with a number. Infinity when the
// digits exceed a double, which the caller reports as an overflow.
double LeadingNumber(std::string_view body) {
    std::size_t at = 0;
    while (at < body.size() && (body[at] == ' ' || body[at] == '\t')) ++at;
    bool negative = false;
    if (at < body.size() && (body[at] == '+' || body[at] == '-')) {
        negative = body[at] == '-';
        ++at;
    }
    const std::size_t start = at;
    while (at < body.size() && IsDigit(body[at])) ++at;
    const std::size_t integerDigits = at - start;
    std::size_t fractionDigits = 0;
    if (at < body.size() && body[at] == '.') {
        ++at;
        while (at < body.size() && IsDigit(body[at])) ++at, ++fractionDigits;
    }
    if (integerDigits + fractionDigits == 0) return 0.0;

    double value = 0.0;
    const auto [end, error] = std::from_chars(body.data() + start, body.data() + at, value);
    if (error == std::errc::result_out_of_range) value = std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

struct CodeEffect {
    std::optional<int> colour = std::nullopt;
    std::optional<bool> bold = std::nullopt;
    std::optional<MarkupFailure> failure = std::nullopt;
};

CodeEffect ApplyBody(std::string_view body) {
    if (body == "B") return {.bold = true};
    if (body == "/B") return {.bold = false};
    if (body == "F" || body == "/F") return {};

    const double rounded = std::nearbyint(LeadingNumber(body));  // halves to even
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() && rounded <= std::numeric_limits<std::int16_t>::max())) {
        return {.failure =
                    MarkupFailure{MarkupFailure::Kind::Overflow, "colour code [" + std::string(body) + "] overflows"}};
    }
    if (rounded < 0 || rounded > 15) {
        return {.failure = MarkupFailure{MarkupFailure::Kind::InvalidArgument,
                                         "colour code [" + std::string(body) + "] is not 0 to 15"}};
    }
    return {.colour = static_cast<int>(rounded)};
}

}  // namespace

unsigned PaletteColour(int index) { return kPalette.at(static_cast<std::size_t>(index)); }

MarkupDrawing ParseMarkup(std::string_view markup) {
    MarkupDrawing drawing{.measuringText = RemoveColourCodes(markup), .segments = {}, .failure = {}};

    std::string working(markup);
    if (working.find('[') == std::string::npos) working.insert(0, "[15]");

    int colour = kStartColour;
    bool bold = kStartBold;
    std::string_view rest = working;
    for (std::size_t open = rest.find('['); open != std::string_view::npos; open = rest.find('[')) {
        // A "]" standing before the "[" is plain text: the code closes at the
        // first "]" after its "[", so every character is read once.
        const std::size_t close = rest.find(']', open);
        if (close == std::string_view::npos) {
            drawing.failure =
                MarkupFailure{MarkupFailure::Kind::InvalidArgument, "markup code without a closing \"]\""};
            break;
        }
        const std::string_view body = rest.substr(open + 1, close - open - 1);
        const CodeEffect effect = ApplyBody(body);
        if (effect.failure) {
            drawing.failure = effect.failure;
            break;
        }
        colour = effect.colour.value_or(colour);
        bold = effect.bold.value_or(bold);

        rest.remove_prefix(close + 1);
        drawing.segments.push_back({std::string(rest.substr(0, rest.find('['))), colour, bold});
    }
    return drawing;
}

}  // namespace Pannello2
