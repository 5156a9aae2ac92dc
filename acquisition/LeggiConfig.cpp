#include "acquisition/LeggiConfig.h"

#include "common/ConfigurationKeys.h"
#include "common/LineFile.h"
#include "common/QuotedLine.h"

#include <algorithm>

namespace caltrix {
namespace {

constexpr std::size_t kKeyLength = 3;

// The key's number 0..24, or -1 for anything that is not "NN=".
int KeyNumber(std::string_view line) {
    if (line.size() < kKeyLength || line[2] != '=') return -1;
    const char tens = line[0];
    const char units = line[1];
    if (tens < '0' || tens > '9' || units < '0' || units > '9') return -1;
    const int number = (tens - '0') * 10 + (units - '0');
    return number <= kLastConfigurationKey ? number : -1;
}

bool RepaintsAfterButton(int key) { return key == 13 || key == 14 || key == 18 || key == 19 || key == 20; }

// Applies one line; false when it changed nothing.
bool ApplyLine(std::string_view line, ConfigTargets& targets, std::vector<std::string>& skipped) {
    const int key = KeyNumber(line);
    const std::string value(line.substr(std::min(line.size(), kKeyLength)));
    if (const int slot = SelectionSlot(key); slot > 0) {
        targets.SetSelection(slot - 1, value);
    } else if (const int browser = BannerBrowser(key); browser > 0) {
        targets.NavigateBanner(browser, value.substr(0, value.find(';')));
    } else if (key == kTickerKey) {
        targets.SetTicker(value);
    } else if (key >= kFirstButtonKey && key <= kLastButtonKey) {
        const auto colon = value.find(':');
        if (colon == std::string::npos) {
            skipped.push_back("button line without \":\": " + QuotedLine(line));
            return false;
        }
        targets.SetButton(key - kButtonCommandOffset, value.substr(0, colon), value.substr(colon + 1));
        if (RepaintsAfterButton(key)) targets.Repaint();
    } else {
        return false;
    }
    return true;
}

}  // namespace

ConfigReport LeggiConfig(std::string_view bytes, ConfigTargets& targets) {
    ConfigReport report;
    for (const std::string& line : SplitLines(bytes)) {
        if (ApplyLine(line, targets, report.skipped)) ++report.applied;
    }
    report.readToEnd = true;
    return report;
}

}  // namespace caltrix
