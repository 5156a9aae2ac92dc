#include "app/shell/MainWindow.h"

#include "acquisition/qt/EventStream.h"
#include "acquisition/qt/UpdateCycle.h"
#include "app/shell/ConfigApplier.h"
#include "app/shell/SafeAddresses.h"
#include "app/shell/BrowserViews.h"
#include "app/about/Form4.h"
#include "app/panelhost/PanelLibrary.h"
#include "app/panelhost/SavedPanel.h"
#include "app/shell/SlotPanelHost.h"
#include "app/shell/WindowKeys.h"
#include "app/shell/WindowMinimiser.h"
#include "app/solo/frmSolo.h"
#include "app/status/StaleMark.h"
#include "app/status/StatusRecorder.h"
#include "app/widgets/ClassicCaption.h"
#include "common/qt/ClockText.h"
#include "app/logging/AppLogging.h"
#include "app/widgets/SempreInPrimoPiano.h"
#include "common/FileNames.h"
#include "common/SlotSelectionStore.h"
#include "common/qt/Text1252Qt.h"
#include "common/qt/TimeScale.h"
#include "display/qt/SlotDisplayTimers.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QTime>
#include <QWebEngineView>

#include <cstdio>
#include <unistd.h>

namespace caltrix {
namespace {

// Ends the program at once: no further code of any window runs.
[[noreturn]] void endAtOnce() {
    std::fflush(nullptr);
    ::_exit(0);
}

}  // namespace

MainWindow::MainWindow(const Settings& settings, PanelLibrary& library, const QString& dataFolder)
    : m_settings(settings), m_programFolder(settings.programFolder.toStdString()) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    resize(DesignSize());
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);

    m_design = new QWidget(this);
    m_design->resize(DesignSize());
    m_controls = BuildMainWindowControls(m_design, CreateBrowserView);
    m_staleMark =
        std::make_unique<StaleMark>(settings.staleAfterSeconds, m_controls.label10, m_controls.label11, m_ticker);
    createPanels(library, dataFolder);
    createSoloWindow(library, dataFolder);
    connectButtons();
    connectTimers();
    m_keys = std::make_unique<WindowKeys>(this, [this](int key) { onKeyDown(key); });
}

MainWindow::~MainWindow() = default;

void MainWindow::createPanels(PanelLibrary& library, const QString& dataFolder) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const auto index = static_cast<std::size_t>(slot - 1);
        auto& host = m_panelHosts[index];
        host = std::make_unique<SlotPanelHost>([this, slot] { onPanelClick(slot); });
        const QString state = QStringLiteral("%1/panels/slot%2.json").arg(dataFolder).arg(slot);
        Pannello2::_Pannello* panel = CreateSavedPanel(library, m_design, host.get(), state);
        panel->Advise(host.get());
        panel->Widget()->setGeometry(SlotPanelRect(slot));
        m_panels[index] = panel;
    }
    m_display = std::make_unique<SlotDisplayTimers>(m_programFolder, m_panels,
                                                    [this](int element) { return m_selections.Switch(element) != 0; });
    m_display->SetGoalHold(m_settings.goalHoldSeconds);
}

void MainWindow::createSoloWindow(PanelLibrary& library, const QString& dataFolder) {
    auto& host = m_soloHost;  // notifications only: frmSolo answers the clicks itself
    host = std::make_unique<SlotPanelHost>([] {});
    m_frmSolo = std::make_unique<frmSolo>([&](QWidget* parent) {
        return CreateSavedPanel(library, parent, host.get(), dataFolder + QStringLiteral("/panels/solo.json"));
    });
    connect(m_frmSolo.get(), &frmSolo::ReturnToMainWindow, this, [this] {
        m_showingSolo = false;
        showOnWholeScreen();
    });
    m_display->AttachSolo(&m_frmSolo->Flash());
}

void MainWindow::connectButtons() {
    for (int command = 3; command <= 10; ++command)
        connect(m_controls.command[static_cast<std::size_t>(command)], &QPushButton::clicked, this,
                [this, command] { onLinkButton(command); });
    auto* minimiser = new WindowMinimiser(this, [this] { showOnWholeScreen(); });
    connect(m_controls.command[2], &QPushButton::clicked, minimiser, &WindowMinimiser::Minimise);
    connect(m_controls.command[1], &QPushButton::clicked, this, [] { endAtOnce(); });
}

void MainWindow::connectTimers() {
    m_timer1.setInterval(ScaledMilliseconds(100));
    m_timer2.setInterval(ScaledMilliseconds(4000));
    m_timer3.setInterval(ScaledMilliseconds(1000));
    connect(&m_timer1, &QTimer::timeout, this, &MainWindow::onTickerStep);
    connect(&m_timer2, &QTimer::timeout, this, &MainWindow::onLoaderTick);
    connect(&m_timer3, &QTimer::timeout, this, &MainWindow::onClockTick);
    m_timer1.start();
    m_timer2.start();
    m_timer3.start();
}

void MainWindow::createConfigApplier() {
    ConfigControls controls;
    controls.store = &m_selections;
    controls.banners = {m_controls.webBrowser[1], m_controls.webBrowser[2], m_controls.webBrowser[3]};
    controls.endpoint = m_settings.configEndpoint;
    controls.setTicker = [this](const std::string& value) { setTicker(value); };
    for (int command = 3; command <= 10; ++command)
        controls.buttons[static_cast<std::size_t>(command - 3)] = m_controls.command[static_cast<std::size_t>(command)];
    controls.repaint = [this] { update(); };
    m_configApplier = std::make_unique<ConfigApplier>(std::move(controls));
}

void MainWindow::createUpdateCycle() {
    UpdateCycleSettings settings{m_settings.configEndpoint, m_settings.scoreSite, m_programFolder, m_workFolder};
    m_updateCycle = std::make_unique<UpdateCycle>(settings, *m_configApplier, m_selections);
    connect(m_updateCycle.get(), &UpdateCycle::cycleFinished, this, &MainWindow::onCycleFinished);
}

void MainWindow::followEvents() {
    if (!m_eventsAddress) return;
    m_events =
        std::make_unique<EventStream>(*m_eventsAddress, [] { return QRandomGenerator::global()->generateDouble(); });
    connect(m_events.get(), &EventStream::newVersion, m_updateCycle.get(),
            [this](qint64 version) { m_updateCycle->RunNow(version); });
    connect(m_events.get(), &EventStream::stateChanged, this, [this] {
        if (m_status) m_status->RecordEventStream(*m_events);
    });
    m_events->Start();
}

void MainWindow::setTicker(const std::string& value) { m_staleMark->SetTicker(Ticker::Padded(value)); }

void MainWindow::settleFolders() {
    const QByteArray temp = qgetenv("TEMP");
    m_workFolder = SettleWorkFolder(m_programFolder, qEnvironmentVariableIsSet("TEMP")
                                                         ? std::optional<std::string>(temp.toStdString())
                                                         : std::nullopt);
    m_instanceLock = std::make_unique<InstanceLock>(m_programFolder / ".caltrix.lock");
    if (m_instanceLock->IsFirstInstance()) {
        const int deleted = DeletePreviousRunFiles(m_programFolder, m_workFolder);
        qCInfo(lcShell) << "start-up: deleted" << deleted << "files of the previous run";
    } else {
        qCInfo(lcShell) << "start-up: another instance runs in" << m_settings.programFolder << "- nothing deleted";
    }
}

QString MainWindow::programFile(std::string_view name) const {
    return m_settings.programFolder + QLatin1Char('/') + QLatin1StringView(name);
}

void MainWindow::pointBrowsers() {
    m_controls.webBrowser[1]->setUrl(QUrl::fromLocalFile(programFile(kBannerPageName)));
    m_controls.webBrowser[3]->setUrl(QUrl::fromLocalFile(programFile(kBannerPageName)));
    m_controls.webBrowser[2]->setUrl(QUrl::fromLocalFile(programFile(kBallPageName)));
}

void MainWindow::giveTitleFonts() {
    std::vector<Pannello2::_Pannello*> panels(m_panels.begin(), m_panels.end());
    panels.push_back(&m_frmSolo->Panel());
    for (Pannello2::_Pannello* panel : panels) {
        const Pannello2::FontRef font = panel->TitoloFont();
        font->SetName("Verdana");
        font->SetBold(true);
        font->SetSize(14);
    }
}

void MainWindow::Load() {
    settleFolders();                      // steps 1, 2
    setWindowState(Qt::WindowMaximized);  // step 3
    m_selections.ClearSelections();       // step 4
    createConfigApplier();                // step 5
    createUpdateCycle();
    GenerateStartPage(m_programFolder / kStartPageTemplateName, m_programFolder / kStartPageName);  // step 6
    m_controls.webBrowser5->setUrl(QUrl::fromLocalFile(programFile(kStartPageName)));               // step 7
    giveTitleFonts();                                                                               // steps 8, 9
    m_ticker.PadDesignText();                                                                       // step 10
    move(0, 0);                                                                                     // steps 11, 12
    pointBrowsers();                                                                                // step 13
    m_controls.picture[5]->hide();                                                                  // step 14
    m_controls.label5->clear();                                                                     // step 15
    showOnWholeScreen();                                                                            // step 16
    createStatusRecorder();
    followEvents();
    if (m_status && m_events) m_status->RecordEventStream(*m_events);
    m_updateCycle->SetTimer1Interval(60000);  // step 17
    QApplication::beep();
    m_updateCycle->AggiornaTelevideo();
    m_updateCycle->SetTimer1Interval(60000);
    onLoaderTick();  // step 18
}

void MainWindow::onKeyDown(int key) {
    if (key == Qt::Key_F5) {
        QApplication::beep();
        m_updateCycle->SetTimer1Interval(30000);
        m_updateCycle->RunNow();
    }
    if (key == Qt::Key_Escape) endAtOnce();
    if (key == Qt::Key_F1) showAboutBox();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (isMinimized()) {
        setWindowTitle(QStringLiteral("Lumetra"));
        setWindowIcon(QIcon(QStringLiteral(":/caltrix/icon.png")));
    } else {
        setWindowTitle(QString());
        setWindowIcon(QIcon());
        // A window manager may change the state of the window hidden for the
        // single-panel window; that must not bring it back.
        if (!m_showingSolo) show();
    }
}

// Without --scale the design keeps its place at the top left; with it, it is
// centred on the black window.
void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_settings.scale.given) return;
    const QSize margin = (size() - m_design->size()) / 2;
    m_design->move(std::max(margin.width(), 0), std::max(margin.height(), 0));
}

// Maximised means the whole screen, also where no window manager maximises.
void MainWindow::fillScreen() { setGeometry(screen()->geometry()); }

// Shown maximised over the whole screen, with the keyboard: without a window
// manager nothing else would give it focus, and F5, F1 and Esc would go nowhere.
// A Wayland client cannot place its windows: there it asks the compositor for
// the whole output, above any panel of the desktop.
void MainWindow::showOnWholeScreen() {
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        showFullScreen();
    } else {
        showMaximized();
        fillScreen();
    }
    raise();
    activateWindow();
    setFocus();
}

void MainWindow::onLinkButton(int command) {
    const QPushButton* button = m_controls.command[static_cast<std::size_t>(command)];
    if (button->text().isEmpty()) return;
    OpenLinkTarget(m_controls.webBrowser5, button->property("Tag").toString());
}

void MainWindow::onTickerStep() {
    m_ticker.Step(
        [] { QCoreApplication::processEvents(); },
        [this](const std::string& text) { m_controls.label5->setText(ClassicCaption(FromWindows1252(text))); });
}

void MainWindow::onClockTick() {
    const QString now = ClockText(QTime::currentTime());
    m_controls.label10->setText(now);
    m_controls.label11->setText(now);
    m_staleMark->Check();
    m_ticker.NameHeldGoal(m_display->Core().HeldGoalHeadline());
    if (m_status) m_status->Record();
}

void MainWindow::onLoaderTick() {
    m_display->CaricaProssimoVideo();
    noteResultsTime(m_display->Core().Loader().NumeroVideo());
}

// Slot files come only from good cycles of this run: what was just loaded
// comes from the latest one.
void MainWindow::noteResultsTime(int slot) {
    if (m_status) m_status->NoteResultsLoaded(slot);
}

// The files a good cycle has just written reach their slots now, not at the
// loader's round.
void MainWindow::loadWrittenSlotFiles() {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (!m_display->LoadSlotFile(slot)) continue;
        noteResultsTime(slot);
    }
}

void MainWindow::RunCycleNow() {
    if (m_updateCycle) m_updateCycle->RunNow();  // before Load(): its first cycle comes soon enough
}

int MainWindow::PanSel() const { return m_display->PanSel(); }

void MainWindow::onPanelClick(int slot) {
    m_showingSolo = true;
    hide();
    m_display->SetPanSel(static_cast<std::int16_t>(slot));
    SempreInPrimoPiano(m_frmSolo.get());
}

void MainWindow::showAboutBox() { Form4::ShowAbout(m_settings.programFolder, this); }

void MainWindow::onCycleFinished(const CycleReport& report) {
    if (report.completed) {
        m_staleMark->CycleSucceeded();
        loadWrittenSlotFiles();
    }
    if (!m_status) return;
    m_status->RecordCycle(report);
    emit CycleRecorded();
}

void MainWindow::createStatusRecorder() {
    if (m_settings.statusFile.isEmpty() && !m_settings.report.isValid()) return;
    StatusFile file(m_settings.statusFile, QDateTime::currentDateTime());
    file.SetFeedStatus(m_feedStatus);
    ScreenParts parts{{}, &m_display->Core(), &m_selections, m_staleMark.get()};
    std::copy(m_panels.begin(), m_panels.end(), parts.panels.begin());
    m_status = std::make_unique<StatusRecorder>(std::move(file), parts);
}

}  // namespace caltrix
