// The program's command-line settings.
#pragma once

#include "app/shell/EngineFlags.h"
#include "feed/service/FeedOptions.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace caltrix {

// --scale: the whole design drawn larger or smaller, centred on black.
struct DesignScale {
    bool given = false;   // without --scale the design keeps its size at the top left
    bool fit = false;     // the largest factor at which the design fits the screen
    double factor = 1.0;  // a fixed factor, when not fit
};

struct Settings {
    QString programFolder;              // pages, pictures, configuration copy, result files
    QUrl configEndpoint;                // the operator's endpoint: <endpoint>/public/config.txt
    bool configEndpointGiven = false;   // --config-endpoint on the command line
    QUrl scoreSite;                     // the live-score site: <site>/default.dll?page=soccer
    bool scoreSiteGiven = false;        // --score-site on the command line
    QUrl events;                        // --events URL: the event stream to follow instead of the site's
    bool eventsOff = false;             // --events off
    double timeScale = 1.0;             // factor on every timer interval and wait
    bool demo = false;                  // serve a simulated match day from inside the program
    QString statusFile;                 // JSON status file for monitoring; empty for none
    double staleAfterSeconds = 180;     // no good cycle for this long (scaled) marks the results stale; 0 = never
    double goalHoldSeconds = 20;        // a goal stays on its slot's panel this long (scaled); 0 = goals not marked
    feed::FeedSettings feed;            // live match data and a local configuration to serve
    QUrl report;                        // the feed server the screen reports to; invalid for none
    bool reportGiven = false;           // --report named it (otherwise it is the live-score site)
    QString screenName;                 // the name it reports under
    QString fleetTokenFile;             // the fleet token it reports with; empty for none
    double reportPictureSeconds = 300;  // seconds between pictures of the window; 0 = only when asked
    DesignScale scale;
    MemoryMode memoryMode = MemoryMode::Automatic;  // --low-memory, --no-low-memory, or by the machine's memory
};

// Parses the arguments (argv[0] first). On --help/--version or an error it
// prints what it has to say and returns nothing; `exitCode` tells how to end.
// Needs no application object, so it runs before a display is reached.
std::optional<Settings> ParseSettings(const QStringList& arguments, const QString& executableFolder, int& exitCode);

// The event stream the screen follows: --events URL, or the feed server's
// own on an external --score-site; none with --events off or while the
// program serves its pages itself (`pagesServedInside`), which tells it of
// new results directly.
std::optional<QUrl> EventStreamAddress(const Settings& settings, bool pagesServedInside);

// "host", "host:port" or a full http(s) address, as a base URL without path.
QUrl BaseUrlFromOption(const QString& value);

}  // namespace caltrix
