// Reads a panel markup text ("[14]HT [15]") into the steps that draw it on the
// info strip: the measuring text that centres the line, then the segments to
// draw one after the other, each with its palette colour and boldness.
// Plain C++ on Windows-1252 bytes; painting is done elsewhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Pannello2 {

// The start state of every drawing: light red, bold.
inline constexpr int kStartColour = 12;
inline constexpr bool kStartBold = true;

struct MarkupSegment {
    std::string text;  // may be empty: a code followed at once by another code
    int colour;        // palette index 0..15
    bool bold;

    bool operator==(const MarkupSegment&) const = default;
};

struct MarkupFailure {
    enum class Kind { InvalidArgument, Overflow };
    Kind kind;
    std::string message;
};

struct MarkupDrawing {
    // The markup without the sixteen colour codes; its width centres the line.
    std::string measuringText;
    // Drawn left to right from the centred start; on a failure, the segments
    // drawn before it.
    std::vector<MarkupSegment> segments;
    std::optional<MarkupFailure> failure;
};

MarkupDrawing ParseMarkup(std::string_view markup);

// The 16-colour palette as 0x00BBGGRR values.
unsigned PaletteColour(int index);

}  // namespace Pannello2
