#include "acquisition/CercaNotizie.h"

#include "acquisition/ClosingStep.h"
#include "acquisition/PageParser.h"
#include "common/LineText.h"
#include "common/ResultText.h"
#include "common/Slots.h"
#include "common/Text1252.h"

namespace caltrix {
namespace {

void CountLines(std::string_view closedText, ParseReport& report) {
    ForEachLine(closedText, [&report](std::string_view line) {
        if (TrimSpaces(line).empty()) return;
        if (line.front() == '<') {
            ++report.competitions;
        } else {
            ++report.matches;
        }
    });
}

}  // namespace

ParseReport CercaNotizie(const std::filesystem::path& savedPage, TitleList& titles,
                         const std::array<std::string, kSlotCount>& selections,
                         const std::filesystem::path& programFolder) {
    ParseReport report;
    if (!EsisteFile(savedPage)) return report;
    report.pageFound = true;
    std::string closedText;
    {
        // The saved page is the program's own file: a large one is mapped, not copied.
        const FileBytes page(savedPage);
        CercaTitoli(page.bytes(), titles);
        closedText = ClosedText(ResultText(page.bytes(), titles));
    }
    CountLines(closedText, report);
    report.combinedFile = WriteResultFiles(std::move(closedText), selections, programFolder, savedPage);
    return report;
}

}  // namespace caltrix
