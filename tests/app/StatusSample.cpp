// Writes a status file with every field filled, for the schema check.
#include "app/status/StatusFile.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    caltrix::StatusFile status(QString::fromLocal8Bit(argv[1]), QDateTime::currentDateTime());
    const QDateTime now = QDateTime::currentDateTime();
    caltrix::CycleRecord ok{now, true, {}, {}, 412, 81234, 11, 30};
    caltrix::CycleRecord failed{
        now, false, QStringLiteral("download timed out"), QStringLiteral("HTTP status 404"), 0, 0, 0, 0};
    status.RecordCycle(ok);
    status.RecordCycle(failed);
    status.SetStale(true);
    for (int slot = 1; slot <= 11; ++slot)
        status.RecordSlot(
            slot, {QStringLiteral("SERIEA;"), slot, slot == 11 ? QDateTime() : now, QStringLiteral("ITALY-SERIE A"),
                   QStringLiteral("JUVENTUS-INTER"), QStringLiteral("[12]FT [15]2-1"),
                   slot == 2 ? std::optional(caltrix::HeldGoalRecord{QStringLiteral("50\" JUVENTUS-INTER   2-1"), now})
                             : std::nullopt});
    status.SetFeedStatus([] {
        return QJsonObject{{QStringLiteral("source"), QStringLiteral("football-data")},
                           {QStringLiteral("lastGoodPoll"), QStringLiteral("2026-12-07T17:25:46Z")},
                           {QStringLiteral("ageSeconds"), 75},
                           {QStringLiteral("matches"), 10},
                           {QStringLiteral("fault"), QStringLiteral("rate limit reached (HTTP 429)")},
                           {QStringLiteral("faultSince"), QStringLiteral("2026-12-07T17:26:01Z")},
                           {QStringLiteral("nextPollSeconds"), 44}};
    });
    status.SetEventStream({QStringLiteral("http://feedhost:8080/feed/events"), QStringLiteral("connected"),
                           1765315805120, 1765315805120, 1765315000000, now});
    return status.Write() ? 0 : 1;
}
