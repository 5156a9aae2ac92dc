// Caltrix: the program's entry. Parses the options, loads the panel library,
// creates the main window and runs its start-up.
#include "feed/service/FeedService.h"
#include "feed/service/MatchSource.h"
#include "app/panelhost/PanelHostError.h"
#include "app/panelhost/PanelLibrary.h"
#include "app/service/Watchdog.h"
#include "app/shell/DisplayScale.h"
#include "app/shell/EngineFlags.h"
#include "app/shell/MainWindow.h"
#include "app/shell/ProgramFiles.h"
#include "app/shell/Settings.h"
#include "app/support/FontSubstitutions.h"
#include "common/qt/Logging.h"
#include "common/qt/TimeScale.h"
#include "common/HeapPolicy.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <memory>
#include <unistd.h>

namespace {

// The web engine reads its flags before the application object exists.
void prepareWebEngine(caltrix::MemoryMode mode) {
    if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");  // the engine refuses to sandbox as root
    const caltrix::MemoryDecision memory = caltrix::DecideMemoryMode(mode, caltrix::MachineMemoryBytes());
    qCInfo(lcShell).noquote() << "low-memory mode" << (memory.low ? "on:" : "off:") << memory.reason;
    const QByteArray userFlags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    qputenv(
        "QTWEBENGINE_CHROMIUM_FLAGS",
        caltrix::ComposeEngineFlags(userFlags, caltrix::EngineFlags(memory.low, caltrix::EngineSandboxed(userFlags))));
    // The browsers' pages are composited by Qt Quick. On a screen without a
    // graphics processor its OpenGL path runs in a software rasteriser that
    // costs a quarter of a core all day; the software scene graph draws the
    // same pages for about 1 %. QT_QUICK_BACKEND set by the operator wins.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

// The folder of the running program, found before the application object exists.
QString runningProgramFolder() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int run(QApplication& app, std::optional<caltrix::Settings> settings) {
    const QString executableFolder = runningProgramFolder();
    caltrix::SetTimeScale(settings->timeScale);

    // The embedded feed (provider, demo or local configuration) lives as long as the window.
    const auto feed = caltrix::feed::StartEmbeddedFeed(settings->feed, settings->demo, settings->configEndpointGiven,
                                                       settings->configEndpoint, settings->scoreSite);

    const QString dataFolder = caltrix::ShippedDataFolder(executableFolder);
    QString problem;
    if (!caltrix::SeedProgramFolder(settings->programFolder, dataFolder, problem))
        throw std::runtime_error(problem.toStdString());

    caltrix::PanelLibrary panels(caltrix::PanelLibraryPath(executableFolder));
    caltrix::MainWindow window(*settings, panels, dataFolder);
    if (feed && feed->ServesPages()) {
        window.SetFeedStatus([&feed] { return feed->Status(); });
        QObject::connect(feed->Source(), &caltrix::feed::MatchSource::PageChanged, &window,
                         &caltrix::MainWindow::RunCycleNow);
    }
    caltrix::Watchdog watchdog;
    window.Load();
    watchdog.Start();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    caltrix::ReturnLargeBlocksToTheSystem();
    // The command line is read before anything needs a display, so --help,
    // --version and a bad option work over SSH or on a console.
    int exitCode = 0;
    auto settings = caltrix::ParseSettings(argumentsOf(argc, argv), runningProgramFolder(), exitCode);
    if (!settings) return exitCode;
    prepareWebEngine(settings->memoryMode);
    const double layoutScale = caltrix::PrepareScale(settings->scale, argv);
    QApplication app(argc, argv);
    caltrix::ApplyLayoutScale(layoutScale);
    QApplication::setApplicationName(QStringLiteral("Caltrix"));
    QApplication::setApplicationVersion(QStringLiteral(CALTRIX_VERSION));
    caltrix::InstallFontSubstitutions();
    try {
        return run(app, std::move(settings));
    } catch (const std::exception& error) {
        // Start-up has no recovery of its own: stop with an error report.
        qCCritical(lcShell) << "Caltrix cannot start:" << error.what();
        return 1;
    }
}
