// Arbitrary page bytes and selection strings through the parser and the
// closing step, in a fresh temporary folder for each input.
#include "acquisition/CercaNotizie.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Pages beyond this size only slow the fuzzer down.
constexpr std::size_t kMaxInput = 64 * 1024;

// Input layout: up to 11 selection strings separated by NUL bytes, then a
// NUL byte, then the page.
std::string_view TakeSelections(std::string_view input, std::array<std::string, caltrix::kSlotCount>& selections) {
    for (std::string& selection : selections) {
        const auto end = input.find('\0');
        if (end == std::string_view::npos) break;
        selection = std::string(input.substr(0, end));
        input.remove_prefix(end + 1);
    }
    return input;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) return 0;
    std::array<std::string, caltrix::kSlotCount> selections;
    const std::string_view page = TakeSelections({reinterpret_cast<const char*>(data), size}, selections);

    // One folder, emptied after every input, so runs leave nothing behind.
    static const std::filesystem::path folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "caltrix-fuzz-parse";
        std::filesystem::create_directories(path);
        return path;
    }();
    caltrix::WriteWholeFile(folder / "sport1", page);
    caltrix::TitleList titles;
    try {
        caltrix::CercaNotizie(folder / "sport1", titles, selections, folder);
    } catch (const caltrix::ParseError&) {}
    for (const auto& entry : std::filesystem::directory_iterator(folder)) std::filesystem::remove_all(entry.path());
    return 0;
}
