// The controls of the main window at their design positions.
#pragma once

#include <array>
#include <functional>

class QLabel;
class QRect;
class QSize;
class QPushButton;
class QWebEngineView;
class QWidget;

namespace caltrix {

struct MainWindowControls {
    QWidget* picture7 = nullptr;                  // box of the main browser and the buttons
    QWebEngineView* webBrowser5 = nullptr;        // main browser
    std::array<QPushButton*, 11> command{};       // Command1..Command10 at [1..10]; [0] unused
    std::array<QWidget*, 6> picture{};            // banner boxes Picture1, 2, 3, 5 at their numbers
    std::array<QWebEngineView*, 6> webBrowser{};  // WebBrowser1..4 at [1..4]; WebBrowser5 also at [5]
    QLabel* label5 = nullptr;                     // ticker
    QLabel* label10 = nullptr;                    // clock
    QLabel* label11 = nullptr;                    // clock shadow
};

using BrowserFactory = std::function<QWebEngineView*(QWidget* parent)>;

// Creates every control of the main window inside `window`. The panels are
// placed by the caller (see SlotPanelRect).
MainWindowControls BuildMainWindowControls(QWidget* window, const BrowserFactory& newBrowser);

// Geometry of slot k's panel (1..11) in pixels.
QRect SlotPanelRect(int slot);

// The design's size in pixels, which every control position lies within.
QSize DesignSize();

}  // namespace caltrix
