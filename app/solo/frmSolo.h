// The single-panel window: a small always-on-top tool window near the
// bottom-left corner of the screen showing one slot's panel on its own, with
// its own score flash. A click on its panel hides it and asks for the main
// window back.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QWidget>

#include <Pannello/Pannello.h>

#include "display/qt/QtFlashTimer.h"
#include "display/ScoreFlash.h"

namespace caltrix {

class frmSolo : public QWidget {
    Q_OBJECT

public:
    // Creates the panel with `createPanel` (given this window as the
    // parent, which owns it) and places it at 0, 0. The window starts hidden,
    // moved to its corner, its flash timer running with an empty PoggiaFlash.
    explicit frmSolo(const std::function<Pannello2::_Pannello*(QWidget* parent)>& createPanel,
                     QWidget* parent = nullptr);
    ~frmSolo() override;

    Pannello2::_Pannello& Panel() const { return *m_panel; }
    // The flash the interpretation drives (SlotDisplayTimers::AttachSolo).
    ScoreFlash& Flash() { return *m_flash; }
    // The markup the info strip flashes with.
    const std::string& PoggiaFlash() const { return m_flash->Markup(); }
    const QtFlashTimer& TimerFlash() const { return m_timerFlash; }

    // One tick of the flash timer (callable directly by tests).
    void TickFlash();
    // What a click on the panel does: hide, then ask for the main window.
    void OnPanelClicked();

signals:
    // The user wants the main window back; connect it to showing the main window.
    void ReturnToMainWindow();

private:
    class ClickSink;

    void placeAtBottomLeft();

    Pannello2::_Pannello* m_panel = nullptr;
    QtFlashTimer m_timerFlash;
    std::unique_ptr<ScoreFlash> m_flash;
    std::unique_ptr<ClickSink> m_sink;
};

}  // namespace caltrix
