// The program's controls as targets of the remote configuration.
#pragma once

#include "acquisition/LeggiConfig.h"

#include <QUrl>

#include <array>
#include <functional>
#include <string>

class QPushButton;
class QWebEngineView;

namespace caltrix {

class SlotSelectionStore;

struct ConfigControls {
    SlotSelectionStore* store = nullptr;                // the program's store; must be set
    std::array<QWebEngineView*, 3> banners{};           // WebBrowser1, WebBrowser2, WebBrowser3
    QUrl endpoint;                                      // the operator's endpoint (banner pages lie under /public/)
    std::function<void(const std::string&)> setTicker;  // the raw value, Windows-1252
    std::array<QPushButton*, 8> buttons{};              // Command3 .. Command10
    std::function<void()> repaint;                      // repaints the main window
};

// Applies configuration values to the controls: selections to the store,
// banner pages (only under /public/ on the endpoint) to the banner browsers,
// the ticker text, and caption, "Tag" property and tooltip of the link
// buttons. Texts arrive as Windows-1252 bytes.
class ConfigApplier : public ConfigTargets {
public:
    explicit ConfigApplier(ConfigControls controls);

    void SetSelection(int element, const std::string& selection) override;
    void NavigateBanner(int browser, const std::string& page) override;
    void SetTicker(const std::string& text) override;
    void SetButton(int command, const std::string& caption, const std::string& target) override;
    void Repaint() override;

private:
    ConfigControls m_controls;
};

}  // namespace caltrix
