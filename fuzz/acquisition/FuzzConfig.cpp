// Arbitrary bytes as a configuration copy.
#include "acquisition/LeggiConfig.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Checks what every call hands on: the values the keys allow.
class CheckingTargets : public caltrix::ConfigTargets {
public:
    void SetSelection(int element, const std::string&) override { Expect(element >= 0 && element <= 10); }
    void NavigateBanner(int browser, const std::string& page) override {
        Expect(browser >= 1 && browser <= 3 && page.find(';') == std::string::npos);
    }
    void SetTicker(const std::string&) override {}
    void SetButton(int command, const std::string& caption, const std::string&) override {
        Expect(command >= 3 && command <= 10 && caption.find(':') == std::string::npos);
    }
    void Repaint() override {}

private:
    static void Expect(bool condition) {
        if (!condition) std::abort();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckingTargets targets;
    const auto report = caltrix::LeggiConfig({reinterpret_cast<const char*>(data), size}, targets);
    if (!report.readToEnd) std::abort();
    return 0;
}
