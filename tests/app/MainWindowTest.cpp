// The main window as the user meets it: its keys, a link button, and a panel
// click to the single-panel window and back. The endpoint and the site refuse
// connections, so every cycle fails fast and no page leaves the machine.
#include "acquisition/qt/UpdateCycle.h"
#include "app/about/Form4.h"
#include "app/panelhost/PanelLibrary.h"
#include "app/shell/MainWindow.h"
#include "app/shell/ProgramFiles.h"
#include "app/solo/frmSolo.h"
#include "common/qt/TimeScale.h"
#include "display/qt/SlotDisplayTimers.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

#include <functional>
#include <memory>

namespace caltrix {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetTimeScale(0.05);
        s_folder = std::make_unique<testing::TempFolder>();
        QString problem;
        ASSERT_TRUE(SeedProgramFolder(s_folder->qtPath(), QStringLiteral(CALTRIX_DATA_DIR), problem))
            << problem.toStdString();
        Settings settings;
        settings.programFolder = s_folder->qtPath();
        settings.configEndpoint = settings.scoreSite = QUrl(QStringLiteral("http://127.0.0.1:1"));
        s_panels = std::make_unique<PanelLibrary>(QStringLiteral(PANNELLO_PLUGIN_PATH));
        s_window = std::make_unique<MainWindow>(settings, *s_panels, QStringLiteral(CALTRIX_DATA_DIR));
        s_window->Load();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(s_window.get()));
    }

    static inline std::unique_ptr<testing::TempFolder> s_folder;

    static void TearDownTestSuite() {
        s_window.reset();
        s_panels.reset();
        s_folder.reset();
    }

    static MainWindow& Window() { return *s_window; }

    // Another window takes the activation, as nothing gives it to the main
    // window on a screen without a window manager.
    static std::unique_ptr<QWidget> activateAnotherWindow() {
        auto other = std::make_unique<QWidget>();
        other->show();
        other->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == other.get(); }, 1000));
        return other;
    }

    // A key as the system delivers it: to the main window's native window.
    static void press(Qt::Key key) { QTest::keyClick(Window().windowHandle(), key); }

    // A left click where `target` is drawn, through the native window of `window`.
    static void clickThroughWindow(QWidget& window, QWidget& target) {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, target.mapTo(&window, target.rect().center()));
    }

private:
    static inline std::unique_ptr<PanelLibrary> s_panels;
    static inline std::unique_ptr<MainWindow> s_window;
};

TEST_F(MainWindowTest, KeysWorkWithoutTheWindowBeingActive) {
    const auto other = activateAnotherWindow();
    // F5: a cycle now, the next one 30 s later.
    QSignalSpy cycles(Window().Cycle(), &UpdateCycle::cycleFinished);
    press(Qt::Key_F5);
    EXPECT_EQ(Window().Cycle()->Timer1Interval(), 30000);
    EXPECT_TRUE(cycles.wait(10000));

    // F1: the about box, modal.
    bool aboutShown = false;
    QTimer::singleShot(100, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        aboutShown = qobject_cast<Form4*>(modal) != nullptr;
        if (modal) modal->close();
    });
    press(Qt::Key_F1);
    EXPECT_TRUE(aboutShown);

    const auto stillAnother = activateAnotherWindow();
    EXPECT_EXIT(press(Qt::Key_Escape), ::testing::ExitedWithCode(0), "");
}

TEST_F(MainWindowTest, LinkButtonOpensHttpAddressesOnly) {
    QPushButton& button = *Window().Controls().command[3];
    QWebEngineView& browser = *Window().Controls().webBrowser5;
    const QUrl startPage = browser.url();
    button.setText(QString());
    button.setProperty("Tag", QStringLiteral("http://127.0.0.1:1/blank.htm"));
    clickThroughWindow(Window(), button);
    EXPECT_EQ(browser.url(), startPage) << "a button without a caption does nothing";

    button.setText(QStringLiteral("Local"));
    button.setProperty("Tag", QStringLiteral("file:///etc/passwd"));
    clickThroughWindow(Window(), button);
    EXPECT_EQ(browser.url(), startPage);

    button.setProperty("Tag", QStringLiteral(" 127.0.0.1:1/page.htm "));
    clickThroughWindow(Window(), button);
    EXPECT_EQ(browser.url(), QUrl(QStringLiteral("http://127.0.0.1:1/page.htm")));
}

TEST_F(MainWindowTest, PanelClickSwitchesToTheSinglePanelWindowAndBack) {
    QWidget& title = *Window().Pannello(7)->Widget()->findChild<QWidget*>(QStringLiteral("lblTitolo"));
    clickThroughWindow(Window(), title);
    frmSolo& solo = *Window().SoloWindow();
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(Window().PanSel(), 7);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&solo));

    // A window manager changing the hidden window's state does not bring it back.
    Window().setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(Window().isVisible());

    QWidget& soloTitle = *solo.Panel().Widget()->findChild<QWidget*>(QStringLiteral("lblTitolo"));
    clickThroughWindow(solo, soloTitle);
    EXPECT_FALSE(solo.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    EXPECT_EQ(Window().geometry(), Window().screen()->geometry());
}

// Pixels of `image` that `colour` accepts.
int countPixels(const QImage& image, const std::function<bool(const QColor&)>& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += colour(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

TEST_F(MainWindowTest, AHeldGoalIsMarkedOnItsPanelsStripInYellowThenRed) {
    Window().Selections().SetSwitch(2, 1);
    const auto load = [](const char* score) {
        QFile file(s_folder->qtPath(QStringLiteral("lmVideo3.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("<Cup One>\r\n50\" Alpha <") + score + "> Beta \r\n");
        file.close();
        ASSERT_TRUE(Window().Display()->LoadSlotFile(3));
    };
    load("0-0");
    load("1-0");
    ASSERT_TRUE(Window().Display()->Core().Held(3));
    QWidget& strip = *Window().Pannello(3)->Widget()->findChild<QWidget*>(QStringLiteral("picInfo"));
    const auto yellow = [](const QColor& c) { return c.red() > 200 && c.green() > 200 && c.blue() < 90; };
    const auto red = [](const QColor& c) { return c.red() > 200 && c.green() < 90 && c.blue() < 90; };

    const QImage lit = strip.grab().toImage();
    Window().Display()->TickFlash(3);
    const QImage dark = strip.grab().toImage();
    EXPECT_GT(countPixels(lit, yellow), countPixels(dark, yellow) + 40);
    EXPECT_GT(countPixels(dark, red), countPixels(lit, red) + 40);
}

}  // namespace
}  // namespace caltrix
