#include "app/shell/Settings.h"

#include "common/qt/HttpAddress.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace caltrix {
namespace {

void print(const QString& text, FILE* stream) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

// Without an application object the parser cannot name the program itself.
QString helpText(const QCommandLineParser& parser, const QString& program) {
    return parser.helpText().replace(QStringLiteral("<executable_name>"), QFileInfo(program).fileName());
}

// "fit" or a factor between 0.1 and 10.
bool readScale(const QString& value, DesignScale& scale) {
    scale.given = true;
    scale.fit = value == QLatin1String("fit");
    if (scale.fit) return true;
    bool ok = false;
    scale.factor = value.toDouble(&ok);
    return ok && scale.factor >= 0.1 && scale.factor <= 10;
}

}  // namespace

QUrl BaseUrlFromOption(const QString& value) {
    std::optional<QUrl> address = HttpAddress(value);
    if (!address) return {};
    QUrl& url = *address;
    url.setPath({});
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

std::optional<Settings> ParseSettings(const QStringList& arguments, const QString& executableFolder, int& exitCode) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Caltrix: an unattended full-screen display of live football results.\n"
                       "Keys: F5 update now, F1 about, Esc end."));
    // Not addHelpOption(): its --help-all lists Qt's own options, which are read by nothing here.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Displays this help."));
    parser.addOption(help);
    parser.addVersionOption();
    const QCommandLineOption folder(
        {QStringLiteral("p"), QStringLiteral("program-folder")},
        QStringLiteral("Folder for the pages, the configuration copy and the result files "
                       "(default: the program's own folder). Created and seeded with the shipped pages when missing."),
        QStringLiteral("dir"));
    const QCommandLineOption endpoint(
        {QStringLiteral("c"), QStringLiteral("config-endpoint")},
        QStringLiteral("Host (host, host:port or http address) of the operator's configuration endpoint; "
                       "the configuration is read from /public/config.txt there."),
        QStringLiteral("host"), QStringLiteral("localhost"));
    const QCommandLineOption site({QStringLiteral("s"), QStringLiteral("score-site")},
                                  QStringLiteral("Host (host, host:port or http address) of the live-score site; "
                                                 "the page is /default.dll?page=soccer there."),
                                  QStringLiteral("host"), QStringLiteral("localhost"));
    const QCommandLineOption scale(
        QStringLiteral("time-scale"),
        QStringLiteral("Factor applied to every timer interval and wait, for tests and demos "
                       "(0.01 turns a 15 s wait into 150 ms)."),
        QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption demo(
        QStringLiteral("demo"), QStringLiteral("Serve a simulated match day from inside the program and display it."));
    const QCommandLineOption status(
        QStringLiteral("status-file"),
        QStringLiteral("Write a JSON status file for monitoring after every cycle and slot change."),
        QStringLiteral("file"));
    const QCommandLineOption staleAfter(
        QStringLiteral("stale-after"),
        QStringLiteral("Seconds without a successful update after which the clock turns amber and the ticker says "
                       "the results are old; scaled by --time-scale; 0 turns the mark off."),
        QStringLiteral("seconds"), QStringLiteral("180"));
    parser.addOption(staleAfter);
    const QCommandLineOption goalHold(
        QStringLiteral("goal-hold"),
        QStringLiteral("Seconds a new goal stays on its slot's panel, marked, before the rotation goes on; scaled by "
                       "--time-scale; 0 turns goals off."),
        QStringLiteral("seconds"), QStringLiteral("20"));
    parser.addOption(goalHold);
    const QCommandLineOption designScale(
        QStringLiteral("scale"),
        QStringLiteral("Scale of the whole display: \"fit\" for the largest that fits the screen, or a factor "
                       "(1.5). The design is centred on black. Without it the design keeps its size at the top left."),
        QStringLiteral("fit|factor"));
    const QCommandLineOption lowMemory(
        QStringLiteral("low-memory"),
        QStringLiteral("Run the web engine for a small board: one renderer process, its low-end device mode, a small "
                       "script heap. On by itself where the machine has less than 2 GB."));
    const QCommandLineOption normalMemory(
        QStringLiteral("no-low-memory"), QStringLiteral("Keep the normal mode also on a machine with less than 2 GB."));
    parser.addOptions({folder, endpoint, site, scale, demo, status, designScale, lowMemory, normalMemory});
    feed::AddFeedOptions(parser);

    if (!parser.parse(arguments)) {
        print(parser.errorText() + QStringLiteral(" See --help."), stderr);
        exitCode = 2;
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        print(helpText(parser, arguments.value(0)), stdout);
        exitCode = 0;
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        print(QStringLiteral("Caltrix %1").arg(QStringLiteral(CALTRIX_VERSION)), stdout);
        exitCode = 0;
        return std::nullopt;
    }

    Settings settings;
    settings.programFolder =
        QDir::cleanPath(QDir(parser.isSet(folder) ? parser.value(folder) : executableFolder).absolutePath());
    settings.configEndpoint = BaseUrlFromOption(parser.value(endpoint));
    settings.configEndpointGiven = parser.isSet(endpoint);
    settings.scoreSite = BaseUrlFromOption(parser.value(site));
    bool scaleOk = false;
    settings.timeScale = parser.value(scale).toDouble(&scaleOk);
    settings.demo = parser.isSet(demo);
    settings.statusFile = parser.value(status);
    bool staleAfterOk = false;
    settings.staleAfterSeconds = parser.value(staleAfter).toDouble(&staleAfterOk);
    if (parser.isSet(lowMemory)) settings.memoryMode = MemoryMode::Low;
    if (parser.isSet(normalMemory)) settings.memoryMode = MemoryMode::Normal;
    bool goalHoldOk = false;
    settings.goalHoldSeconds = parser.value(goalHold).toDouble(&goalHoldOk);

    QString problem;
    if (!settings.configEndpoint.isValid())
        problem = QStringLiteral("invalid --config-endpoint: ") + parser.value(endpoint);
    else if (!settings.scoreSite.isValid())
        problem = QStringLiteral("invalid --score-site: ") + parser.value(site);
    else if (!scaleOk || settings.timeScale <= 0)
        problem = QStringLiteral("invalid --time-scale: ") + parser.value(scale);
    else if (!staleAfterOk || settings.staleAfterSeconds < 0)
        problem = QStringLiteral("invalid --stale-after: ") + parser.value(staleAfter);
    else if (!goalHoldOk || settings.goalHoldSeconds < 0)
        problem = QStringLiteral("invalid --goal-hold: ") + parser.value(goalHold);
    else if (parser.isSet(designScale) && !readScale(parser.value(designScale), settings.scale))
        problem = QStringLiteral("invalid --scale (fit, or a factor from 0.1 to 10): ") + parser.value(designScale);
    else if (auto feedSettings = feed::ReadFeedOptions(parser, problem))
        settings.feed = std::move(*feedSettings);
    if (problem.isEmpty() && settings.demo && settings.feed.kind != feed::FeedKind::None)
        problem = QStringLiteral("--demo and --feed exclude each other");
    if (problem.isEmpty() && parser.isSet(lowMemory) && parser.isSet(normalMemory))
        problem = QStringLiteral("--low-memory and --no-low-memory exclude each other");
    if (!problem.isEmpty()) {
        print(problem, stderr);
        exitCode = 2;
        return std::nullopt;
    }
    return settings;
}

}  // namespace caltrix
