// The fleet on caltrix-feed: its options and its routes on the feed's server.
#pragma once

#include "feed/fleet/Fleet.h"
#include "feed/service/FeedService.h"

#include <QCommandLineParser>
#include <QString>

#include <memory>

namespace caltrix::feed {

struct FleetOptions {
    QString stateFolder;        // empty: reports are kept in memory only
    QString fleetTokenFile;     // empty: reports from loopback only
    QString operatorTokenFile;  // empty: the operator's routes on loopback only
};

void AddFleetOptions(QCommandLineParser& parser);
FleetOptions ReadFleetOptions(const QCommandLineParser& parser);

// Reads the tokens and the state folder and adds the fleet's routes and the
// metrics' observer to the service's server (before it starts). Throws
// std::runtime_error when a token file or the state folder cannot be used.
std::unique_ptr<fleet::Fleet> AddFleet(const FleetOptions& options, FeedService& service, std::string version);

}  // namespace caltrix::feed
