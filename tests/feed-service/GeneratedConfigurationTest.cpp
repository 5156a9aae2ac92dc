#include "feed/service/GeneratedConfiguration.h"

#include "acquisition/PageParser.h"
#include "acquisition/ResultFiles.h"
#include "common/ResultText.h"
#include "feed/model/PageWriter.h"
#include "common/Text1252.h"
#include "common/qt/Text1252Qt.h"

#include <gtest/gtest.h>

namespace caltrix::feed {
namespace {

using namespace std::chrono;

const sys_seconds kNow = sys_days(year{2026} / 12 / 7) + hours(20);

Competition competition(std::string area, std::string name) {
    return {std::move(area), std::move(name), {Match{kNow, MatchState::Finished, {}, "Home", "Away", {1, 0}, {}}}};
}

// The combined file that a cycle makes of the page written for `model`.
std::string combinedFile(const MatchModel& model) {
    const std::string saved = ReplaceAll(ToWindows1252(QString::fromStdString(WritePage(model, kNow))), "\n", "\r\n");
    TitleList titles;
    CercaTitoli(saved, titles);
    return ClosedText(ResultText(saved, titles));
}

// The header lines that the selection keeps.
std::vector<std::string> selectedHeaders(const std::string& combined, const std::string& selection) {
    std::vector<std::string> headers;
    const std::string kept = SlotFileText(combined, selection);
    for (std::size_t start = 0, end = 0; start < kept.size(); start = end + 2) {
        end = kept.find("\r\n", start);
        if (kept[start] == '<') headers.push_back(kept.substr(start, end - start));
    }
    return headers;
}

TEST(GeneratedConfiguration, EachFragmentSelectsExactlyItsCompetition) {
    const MatchModel model{{competition("Italy", "Serie A"), competition("Italy", "Serie A2"),
                            competition("Germany", "Regionalliga Bayern"), competition("Côte d'Ivoire", "Ligue 1"),
                            competition("Türkiye", "Şampiyonlar & <Kupa>"), competition("", "Friendlies")}};
    const std::string combined = combinedFile(model);
    const std::vector<std::string> headers = selectedHeaders(combined, ";");  // an empty fragment selects all
    ASSERT_EQ(headers.size(), model.competitions.size());
    for (std::size_t i = 0; i < headers.size(); ++i)
        EXPECT_EQ(selectedHeaders(combined, SelectionFragment(model.competitions[i]) + ";"),
                  std::vector<std::string>{headers[i]});
}

TEST(GeneratedConfiguration, FillsAllElevenSlotsInOrderAndNamesTheSource) {
    MatchModel model{{competition("Italy", "Serie A"), competition("Spain", "Primera División"),
                      competition("England", "Premier League")}};
    model.competitions.insert(model.competitions.begin() + 1, Competition{"Nowhere", "No Matches", {}});
    const std::string a = "<ITALY-SERIEA>;", b = "<SPAIN-PRIMERADIVISI\xD3N>;", c = "<ENGLAND-PREMIERLEAGUE>;";
    EXPECT_EQ(GeneratedConfiguration(&model, QStringLiteral("football-data.org")).toStdString(),
              "01=" + a + "\r\n02=" + b + "\r\n03=" + c + "\r\n04=" + a + "\r\n05=" + b + "\r\n06=" + c +
                  "\r\n07=" + a + "\r\n08=" + b + "\r\n22=" + c + "\r\n23=" + a + "\r\n24=" + b +
                  "\r\n12=Live results from football-data.org\r\n");

    // Before the first good poll every slot stays empty.
    EXPECT_EQ(GeneratedConfiguration(nullptr, QStringLiteral("API-Football")).toStdString(),
              "01=\r\n02=\r\n03=\r\n04=\r\n05=\r\n06=\r\n07=\r\n08=\r\n22=\r\n23=\r\n24=\r\n"
              "12=Live results from API-Football\r\n");
}

}  // namespace
}  // namespace caltrix::feed
