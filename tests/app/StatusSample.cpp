// Writes a status file with every field filled, for the schema check.
#include "app/status/StatusFile.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    caltrix::StatusFile status(QString::fromLocal8Bit(argv[1]), QDateTime::currentDateTime());
    caltrix::CycleRecord ok{QDateTime::currentDateTime(), true, {}, 412, 81234, 11, 30};
    caltrix::CycleRecord failed{QDateTime::currentDateTime(), false, QStringLiteral("download timed out"), 0, 0, 0, 0};
    status.RecordCycle(ok);
    status.RecordCycle(failed);
    for (int slot = 1; slot <= 11; ++slot)
        status.RecordSlot(slot, {QStringLiteral("SERIEA;"), slot, QStringLiteral("ITALY-SERIE A"), QStringLiteral("JUVENTUS-INTER"),
                                 QStringLiteral("[12]FT [15]2-1")});
    return status.Write() ? 0 : 1;
}
