// Caltrix: the program's entry. Parses the options, loads the panel library,
// creates the main window and runs its start-up.
#include "feed/service/FeedService.h"
#include "feed/service/MatchSource.h"
#include "app/panelhost/PanelHostError.h"
#include "app/panelhost/PanelLibrary.h"
#include "app/report/ScreenReporter.h"
#include "app/shell/BrowserViews.h"
#include "app/service/Watchdog.h"
#include "app/shell/DisplayScale.h"
#include "app/shell/EngineFlags.h"
#include "app/shell/MainWindow.h"
#include "app/shell/ProgramFiles.h"
#include "app/shell/Settings.h"
#include "app/status/StatusFile.h"
#include "app/widgets/FontSubstitutions.h"
#include "app/logging/AppLogging.h"
#include "common/qt/TimeScale.h"
#include "common/HeapPolicy.h"

#include <QApplication>
#include <QDir>
#include <QFile>
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
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) {
        qputenv("QT_QUICK_BACKEND", "software");
        // Then nothing draws with OpenGL, but the web engine still creates an
        // OpenGL context at start-up: on X11 without a graphics processor that
        // loads the software rasteriser and its compiler, about 55 MB of the
        // program's memory. Without the X11 OpenGL plugin the context fails
        // at once (Qt says so in one line) and nothing is loaded.
        if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) qputenv("QT_XCB_GL_INTEGRATION", "none");
    }
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

// Reports to the feed server, when the screen has one (--report).
std::unique_ptr<caltrix::ScreenReporter> startReports(const caltrix::Settings& settings, caltrix::MainWindow& window) {
    if (!settings.report.isValid()) return nullptr;
    caltrix::ReporterOptions options{
        settings.report, settings.screenName, {}, std::chrono::seconds(qRound64(settings.reportPictureSeconds))};
    if (!settings.fleetTokenFile.isEmpty()) {
        QFile file(settings.fleetTokenFile);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read the fleet token file " + settings.fleetTokenFile.toStdString());
        options.token = file.readLine().trimmed();
    }
    const auto started = std::chrono::steady_clock::now();
    auto status = [&window, started] {
        QJsonObject document = window.Status()->ToJson();
        const auto uptime =
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started);
        document.insert(QStringLiteral("screen"),
                        caltrix::ScreenFigures(uptime, caltrix::RendererRestarter::EndedRenderers(),
                                               window.Status()->CycleCounts()));
        return document;
    };
    auto reporter = std::make_unique<caltrix::ScreenReporter>(std::move(options), status,
                                                              [&window] { return window.grab().toImage(); });
    QObject::connect(&window, &caltrix::MainWindow::CycleRecorded, reporter.get(), &caltrix::ScreenReporter::Report);
    reporter->Start();
    return reporter;
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
    window.FollowEvents(caltrix::EventStreamAddress(*settings, feed && feed->ServesPages()));
    caltrix::Watchdog watchdog;
    window.Load();
    const auto reporter = startReports(*settings, window);
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
