// The main window: the full-screen display screen and the program's start-up.
#pragma once

#include "app/shell/MainWindowControls.h"
#include "app/shell/Settings.h"
#include "app/shell/StartUpFiles.h"
#include "app/status/StatusRecorder.h"
#include "common/Slots.h"
#include "common/SlotSelectionStore.h"
#include "display/Ticker.h"

#include <Pannello/Pannello.h>

#include <QDateTime>
#include <QJsonObject>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <memory>

namespace caltrix {

class UpdateCycle;
class EventStream;
struct CycleReport;
class SlotDisplayTimers;
class frmSolo;
class ConfigApplier;
class PanelLibrary;
class SlotPanelHost;
class StaleMark;
class WindowKeys;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // `dataFolder` holds the shipped saved panel states (panels/*.json).
    MainWindow(const Settings& settings, PanelLibrary& library, const QString& dataFolder);
    ~MainWindow() override;

    // The start-up sequence; throws on a failure that must stop the program.
    void Load();
    // The embedded feed's status, for the status file; set before Load().
    void SetFeedStatus(std::function<QJsonObject()> feedStatus) { m_feedStatus = std::move(feedStatus); }

    // New results wait at the embedded feed: runs the update cycle now (after
    // the running one, if any). The feed is the program's own, so the cadence
    // that spares an external site does not apply.
    void RunCycleNow();
    // Follows a feed server's event stream from Load() on: each new version
    // runs the update cycle at once, on the versioned page. Set before Load().
    void FollowEvents(std::optional<QUrl> address) { m_eventsAddress = std::move(address); }

    // What the status file says; null before Load() and without a status file or reports.
    const StatusFile* Status() const { return m_status ? &m_status->File() : nullptr; }

    int PanSel() const;
    Pannello2::_Pannello* Pannello(int slot) const { return m_panels.at(static_cast<std::size_t>(slot - 1)); }
    UpdateCycle* Cycle() const { return m_updateCycle.get(); }
    SlotDisplayTimers* Display() const { return m_display.get(); }
    frmSolo* SoloWindow() const { return m_frmSolo.get(); }
    const MainWindowControls& Controls() const { return m_controls; }
    SlotSelectionStore& Selections() { return m_selections; }

signals:
    // A cycle ended and the status document tells its outcome.
    void CycleRecorded();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createPanels(PanelLibrary& library, const QString& dataFolder);
    void createConfigApplier();
    void createUpdateCycle();
    void followEvents();
    void createSoloWindow(PanelLibrary& library, const QString& dataFolder);
    void showAboutBox();
    void createStatusRecorder();
    void onCycleFinished(const CycleReport& report);
    void connectButtons();
    void connectTimers();
    void setTicker(const std::string& value);
    void settleFolders();
    void fillScreen();
    void showOnWholeScreen();
    void pointBrowsers();
    void giveTitleFonts();
    void onKeyDown(int key);
    void onPanelClick(int slot);
    void onLinkButton(int command);
    void onTickerStep();
    void onClockTick();
    void onLoaderTick();
    void noteResultsTime(int slot);
    void loadWrittenSlotFiles();
    QString programFile(std::string_view name) const;

    Settings m_settings;
    std::filesystem::path m_programFolder;
    std::filesystem::path m_workFolder;
    std::unique_ptr<InstanceLock> m_instanceLock;
    SlotSelectionStore m_selections;  // frmParametriFile: the slots' selection strings and switches
    QWidget* m_design = nullptr;      // holds every control at its design position
    bool m_showingSolo = false;       // hidden for the single-panel window
    MainWindowControls m_controls;
    std::array<Pannello2::_Pannello*, kSlotCount> m_panels{};  // [k-1] is Pannello(k)
    std::array<std::unique_ptr<SlotPanelHost>, kSlotCount> m_panelHosts;
    std::unique_ptr<SlotPanelHost> m_soloHost;
    std::unique_ptr<SlotDisplayTimers> m_display;
    std::unique_ptr<frmSolo> m_frmSolo;
    std::unique_ptr<ConfigApplier> m_configApplier;
    std::unique_ptr<UpdateCycle> m_updateCycle;
    std::unique_ptr<StatusRecorder> m_status;
    std::function<QJsonObject()> m_feedStatus;  // empty without an embedded feed
    std::optional<QUrl> m_eventsAddress;
    std::unique_ptr<EventStream> m_events;
    std::unique_ptr<StaleMark> m_staleMark;
    Ticker m_ticker;
    QTimer m_timer1;                     // ticker, 100 ms
    QTimer m_timer2;                     // slot file loader, 4000 ms
    QTimer m_timer3;                     // clock, 1000 ms
    std::unique_ptr<WindowKeys> m_keys;  // last: no key reaches a window half destroyed
};

}  // namespace caltrix
