// The program's files, named once for every layer: the saved page, the
// configuration copy, the result files and the pages and picture it ships.
#pragma once

#include <array>
#include <filesystem>
#include <string_view>

namespace caltrix {

// The live-score page as saved in the work folder.
inline constexpr std::string_view kSavedPageName = "sport1";
// The copy of the downloaded configuration in the program folder.
inline constexpr std::string_view kConfigurationCopyName = "qesa.ris";

// The combined files video<n>.txt, n = 1..kCombinedFileLimit, and the
// slot files lmVideo<k>.txt, k = 1..11, in the program folder.
inline constexpr int kCombinedFileLimit = 1000;
std::filesystem::path CombinedFileName(const std::filesystem::path& programFolder, int n);
std::filesystem::path SlotFileName(const std::filesystem::path& programFolder, int slot);
// True for an upper-cased VIDEO<n>.TXT or LMVIDEO<n>.TXT, n = 1..1000 without
// leading zeros, or either with ".TMP" appended (an interrupted write's
// temporary file): a previous run's result file.
bool IsResultFileName(std::string_view upperName);

// The pages and the picture shipped with the program, which seed an
// operator's program folder (the build installs the names listed here).
inline constexpr std::array<std::string_view, 4> kShippedFiles{"lumetra.htm", "Test1.htm", "Pallone.htm",
                                                               "MaskMenuVuotoNew.jpg"};
inline constexpr std::string_view kStartPageTemplateName = kShippedFiles[0];
inline constexpr std::string_view kStartPageName = "lumetra2.htm";  // written from the template
inline constexpr std::string_view kBannerPageName = kShippedFiles[1];
inline constexpr std::string_view kBallPageName = kShippedFiles[2];
inline constexpr std::string_view kAboutPictureName = kShippedFiles[3];

}  // namespace caltrix
