// The main window: the full-screen display screen and the program's start-up.
#pragma once

#include "app/shell/MainWindowControls.h"
#include "app/shell/Settings.h"

#include <Pannello/Pannello.h>

#include <QTimer>
#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>

namespace caltrix {

class PanelLibrary;
class SlotPanelHost;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    MainWindow(const Settings& settings, PanelLibrary& panels);
    ~MainWindow() override;

    // The start-up sequence; throws on a failure that must stop the program.
    void Load();

    int PanSel() const { return m_panSel; }
    const std::filesystem::path& WorkFolder() const { return m_workFolder; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createPanels(PanelLibrary& panels);
    void settleFolders();
    void deletePreviousRunFiles();
    void generateStartPage();
    void showStartPages();
    void connectButtons();
    void onKeyDown(int key);
    void onPanelClick(int slot);
    void onLinkButton(int command);
    void onClockTick();

    Settings m_settings;
    std::filesystem::path m_programFolder;
    std::filesystem::path m_workFolder;
    MainWindowControls m_controls;
    std::array<Pannello2::_Pannello*, 12> m_panels{};  // Pannello(1..11); [0] unused
    std::array<std::unique_ptr<SlotPanelHost>, 12> m_panelHosts;
    int m_panSel = 0;
    QTimer m_timer1;  // ticker, 100 ms
    QTimer m_timer2;  // slot file loader, 4000 ms
    QTimer m_timer3;  // clock, 1000 ms
};

}  // namespace caltrix
