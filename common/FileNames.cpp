#include "common/FileNames.h"

#include "common/Text1252.h"

#include <string>

namespace caltrix {
namespace {

constexpr std::string_view kCombinedStem = "video";
constexpr std::string_view kSlotStem = "lmVideo";
constexpr std::string_view kExtension = ".txt";

std::filesystem::path Numbered(const std::filesystem::path& folder, std::string_view stem, int n) {
    return folder / (std::string(stem) + std::to_string(n) + std::string(kExtension));
}

}  // namespace

std::filesystem::path CombinedFileName(const std::filesystem::path& programFolder, int n) {
    return Numbered(programFolder, kCombinedStem, n);
}

std::filesystem::path SlotFileName(const std::filesystem::path& programFolder, int slot) {
    return Numbered(programFolder, kSlotStem, slot);
}

bool IsResultFileName(std::string_view upperName) {
    if (upperName.ends_with(".TXT.TMP")) upperName.remove_suffix(4);
    for (const std::string_view stem : {"VIDEO", "LMVIDEO"}) {
        if (!StartsWith(upperName, stem) || upperName.size() <= stem.size() + 4) continue;
        const std::string_view number(upperName.data() + stem.size(), upperName.size() - stem.size() - 4);
        if (upperName.substr(upperName.size() - 4) != ".TXT" || number.empty() || number.size() > 4) continue;
        if (number.front() == '0' || number.find_first_not_of("0123456789") != std::string_view::npos) continue;
        if (std::stoi(std::string(number)) <= kCombinedFileLimit) return true;
    }
    return false;
}

}  // namespace caltrix
