// The command-line options of live match data, shared by the display program
// and the caltrix-feed server: which provider, its key file, address,
// competitions, poll interval and time zone, and a local configuration folder.
#pragma once

#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <chrono>
#include <optional>

class QCommandLineParser;

namespace caltrix::feed {

enum class FeedKind { None, FootballData, ApiFootball, Json, OpenLigaDb };

struct FeedSettings {
    FeedKind kind = FeedKind::None;
    QString key;               // read from --feed-token-file, trimmed; never logged
    QString url;               // provider base address, or the json file or address; empty: the default
    QStringList competitions;  // football-data competition codes, OpenLigaDB league shortcuts
    std::optional<std::chrono::seconds> interval;      // --feed-interval; default: the provider's
    QString localConfig;                               // folder served as /public/; empty for none
    QTimeZone timeZone = QTimeZone::systemTimeZone();  // the screens' day and kick-off times
};

void AddFeedOptions(QCommandLineParser& parser);

// The feed settings from parsed options; nothing and `problem` set when a
// value is bad or the key file cannot be read.
std::optional<FeedSettings> ReadFeedOptions(const QCommandLineParser& parser, QString& problem);

}  // namespace caltrix::feed
