#include "app/shell/Settings.h"

#include "common/WebAddresses.h"
#include "common/qt/HttpAddress.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>

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

std::optional<QUrl> EventStreamAddress(const Settings& settings, bool pagesServedInside) {
    if (settings.eventsOff) return std::nullopt;
    if (!settings.events.isEmpty()) return settings.events;
    if (!settings.scoreSiteGiven || pagesServedInside) return std::nullopt;
    QUrl address = settings.scoreSite;
    address.setPath(QString::fromLatin1(kFeedEventsPath.data(), qsizetype(kFeedEventsPath.size())));
    return address;
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
    const QCommandLineOption events(
        QStringLiteral("events"),
        QStringLiteral("Event stream that says when the feed server has new results (an http address, for example "
                       "a pub/sub location of nginx), or \"off\". Default: /feed/events on the --score-site."),
        QStringLiteral("url|off"));
    parser.addOption(events);
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
    const QCommandLineOption report(
        QStringLiteral("report"),
        QStringLiteral("Report the screen's status, and pictures of it, to this caltrix-feed (host, host:port or "
                       "http address; default: the --score-site; \"off\" for none)."),
        QStringLiteral("host"));
    const QCommandLineOption screenName(QStringLiteral("screen-name"),
                                        QStringLiteral("The name the screen reports under, 1 to 64 of A-Z a-z 0-9 "
                                                       ". _ - (default: the host name)."),
                                        QStringLiteral("name"));
    const QCommandLineOption fleetToken(QStringLiteral("fleet-token-file"),
                                        QStringLiteral("File holding the fleet token the screen reports with."),
                                        QStringLiteral("file"));
    const QCommandLineOption reportPicture(
        QStringLiteral("report-picture"),
        QStringLiteral("Seconds between pictures of the screen sent with its reports; 0 sends one only when the "
                       "operator asks."),
        QStringLiteral("seconds"), QStringLiteral("300"));
    parser.addOptions({folder, endpoint, site, scale, demo, status, designScale, report, screenName, fleetToken,
                       reportPicture, lowMemory, normalMemory});
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
    settings.scoreSiteGiven = parser.isSet(site);
    settings.eventsOff = parser.value(events) == QLatin1String("off");
    if (parser.isSet(events) && !settings.eventsOff)
        settings.events = HttpAddress(parser.value(events)).value_or(QUrl());
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

    // A screen of a fleet reports to the caltrix-feed it takes its page from.
    const bool ownFeed = settings.demo || parser.isSet(QStringLiteral("feed"));
    settings.reportGiven = parser.isSet(report);
    if (parser.isSet(report))
        settings.report =
            parser.value(report) == QLatin1String("off") ? QUrl() : BaseUrlFromOption(parser.value(report));
    else if (parser.isSet(site) && !ownFeed)
        settings.report = settings.scoreSite;
    settings.screenName = parser.isSet(screenName) ? parser.value(screenName) : QSysInfo::machineHostName();
    settings.fleetTokenFile = parser.value(fleetToken);
    bool reportPictureOk = false;
    settings.reportPictureSeconds = parser.value(reportPicture).toDouble(&reportPictureOk);
    static const QRegularExpression kScreenName(QStringLiteral("^[A-Za-z0-9._-]{1,64}$"));

    QString problem;
    if (parser.isSet(report) && parser.value(report) != QLatin1String("off") && !settings.report.isValid())
        problem = QStringLiteral("invalid --report: ") + parser.value(report);
    else if (settings.report.isValid() && !kScreenName.match(settings.screenName).hasMatch())
        problem = QStringLiteral("invalid --screen-name (1 to 64 of A-Z a-z 0-9 . _ -): ") + settings.screenName;
    else if (!reportPictureOk || settings.reportPictureSeconds < 0)
        problem = QStringLiteral("invalid --report-picture: ") + parser.value(reportPicture);
    else if (!settings.configEndpoint.isValid())
        problem = QStringLiteral("invalid --config-endpoint: ") + parser.value(endpoint);
    else if (!settings.scoreSite.isValid())
        problem = QStringLiteral("invalid --score-site: ") + parser.value(site);
    else if (parser.isSet(events) && !settings.eventsOff && settings.events.isEmpty())
        problem = QStringLiteral("invalid --events (an http address, or off): ") + parser.value(events);
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
