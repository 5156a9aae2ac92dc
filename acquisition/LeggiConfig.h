// The remote configuration file: lines "NN=value" applied to the program's controls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace caltrix {

// What a configuration line can change; the program's windows implement it.
class ConfigTargets {
public:
    virtual ~ConfigTargets() = default;
    // Label9 element 0..10.
    virtual void SetSelection(int element, const std::string& selection) = 0;
    // WebBrowser1, 2 or 3; the page is the value before its first ";".
    virtual void NavigateBanner(int browser, const std::string& page) = 0;
    // The value, unpadded.
    virtual void SetTicker(const std::string& text) = 0;
    // Command3..Command10.
    virtual void SetButton(int command, const std::string& caption, const std::string& target) = 0;
    // After keys 13, 14, 18, 19, 20.
    virtual void Repaint() = 0;
};

struct ConfigReport {
    bool readToEnd = false;
    std::size_t applied = 0;           // lines that changed a target
    std::vector<std::string> skipped;  // one reason per malformed line left out
};

// Applies the lines of the configuration bytes in order (CR LF or a lone CR
// ends a line, a lone LF does not). The key is the first three characters,
// compared exactly; unknown keys and lines shorter than three characters are
// ignored. A button line without ":" is skipped with a reason.
ConfigReport LeggiConfig(std::string_view bytes, ConfigTargets& targets);

}  // namespace caltrix
