// One parse of the saved live-score page, from the page to the result files.
#pragma once

#include "acquisition/ParseError.h"
#include "acquisition/ResultFiles.h"
#include "acquisition/TitleList.h"
#include "common/LineFile.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

namespace caltrix {

struct ParseReport {
    std::size_t competitions = 0;  // header lines written to the combined file
    std::size_t matches = 0;       // other non-blank lines written to it
    std::filesystem::path combinedFile;
    bool pageFound = false;
};

// Collects the page's titles into `titles`, parses the saved page and writes
// video<N>.txt and lmVideo1.txt..lmVideo11.txt in `programFolder` (slot k
// keeps what `selections[k - 1]` selects), then deletes the saved page. A
// missing page writes nothing. Throws ParseError or FileError; files written
// before the failure stay.
ParseReport CercaNotizie(const std::filesystem::path& savedPage, TitleList& titles,
                         const std::array<std::string, kSlotCount>& selections,
                         const std::filesystem::path& programFolder);

}  // namespace caltrix
