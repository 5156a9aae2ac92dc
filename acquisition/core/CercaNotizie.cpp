#include "acquisition/core/CercaNotizie.h"

#include "acquisition/core/ClosingStep.h"
#include "acquisition/core/PageParser.h"
#include "common/ResultText.h"
#include "common/Text1252.h"

namespace caltrix {
namespace {

void CountLines(std::string_view closedText, ParseReport& report) {
    for (const std::string_view line : PageLines(closedText)) {
        if (TrimSpaces(line).empty()) continue;
        if (line.front() == '<') {
            ++report.competitions;
        } else {
            ++report.matches;
        }
    }
}

}  // namespace

ParseReport CercaNotizie(const std::filesystem::path& savedPage, TitleList& titles,
                         const std::array<std::string, kSlotCount>& selections,
                         const std::filesystem::path& programFolder) {
    ParseReport report;
    if (!EsisteFile(savedPage)) return report;
    report.pageFound = true;
    const std::string page = ReadWholeFile(savedPage);
    const auto lines = PageLines(page);
    TagStripper stripper;
    CercaTitoli(lines, titles, stripper);
    const std::string closedText = ClosedText(ResultText(lines, titles, stripper));
    CountLines(closedText, report);
    report.combinedFile = WriteResultFiles(closedText, selections, programFolder, savedPage);
    return report;
}

}  // namespace caltrix
