// Reads arbitrary bytes as panel markup: it must end with segments or a
// failure, never crash, and every segment must come from the markup.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "MarkupParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view markup(reinterpret_cast<const char*>(data), size);
    const Pannello2::MarkupDrawing drawing = Pannello2::ParseMarkup(markup);
    if (drawing.measuringText.size() > markup.size()) std::abort();
    std::size_t drawn = 0;
    for (const Pannello2::MarkupSegment& segment : drawing.segments) {
        if (segment.colour < 0 || segment.colour > 15) std::abort();
        drawn += segment.text.size();
    }
    if (drawn > markup.size()) std::abort();
    return 0;
}
