#include "feed/service/GeneratedConfiguration.h"

#include "common/ConfigurationKeys.h"
#include "common/LineText.h"
#include "common/ResultText.h"
#include "common/Slots.h"
#include "feed/model/PageWriter.h"
#include "common/qt/Text1252Qt.h"

#include <algorithm>
#include <array>
#include <vector>

namespace caltrix::feed {
namespace {

// The distinct fragments of the competitions the page shows, in their order.
std::vector<std::string> fragmentsOf(const MatchModel& model) {
    std::vector<std::string> fragments;
    for (const Competition& competition : model.competitions) {
        if (competition.matches.empty()) continue;  // the page leaves it out
        std::string fragment = SelectionFragment(competition);
        if (std::find(fragments.begin(), fragments.end(), fragment) == fragments.end())
            fragments.push_back(std::move(fragment));
    }
    return fragments;
}

}  // namespace

// The header line is the title as the parser takes it (with its name
// substitutions) in angle brackets, after the closing substitutions, which
// change more than the letter case ("Regional" becomes "REG."); the brackets
// keep "SERIEA" from selecting "SERIEA2" too. A ";" (of an escaped "<" or ">"
// in a name) would end the fragment, so the fragment stops before it and
// selects the headers that begin alike.
std::string SelectionFragment(const Competition& competition) {
    const std::string title = ToWindows1252(QString::fromStdString(CompetitionTitle(competition)));
    std::string fragment = ClosedText("<" + TitleText(title) + ">");
    std::erase(fragment, ' ');
    return fragment.substr(0, fragment.find(';'));
}

QByteArray GeneratedConfiguration(const MatchModel* model, const QString& origin) {
    const std::vector<std::string> fragments = model ? fragmentsOf(*model) : std::vector<std::string>{};
    std::string text;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        text += KeyText(SelectionKey(slot));
        if (!fragments.empty()) text += fragments[static_cast<std::size_t>(slot - 1) % fragments.size()] + ";";
        text += kLineEnd;
    }
    text += KeyText(kTickerKey) + ToWindows1252(QStringLiteral("Live results from ") + origin);
    text += kLineEnd;
    return QByteArray::fromStdString(text);
}

}  // namespace caltrix::feed
