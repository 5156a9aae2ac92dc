#include "app/status/StatusFile.h"
#include "tests/support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace caltrix {
namespace {

CycleRecord cycle(bool ok, qint64 matches) {
    CycleRecord record;
    record.finished = QDateTime::currentDateTimeUtc();
    record.succeeded = ok;
    record.error = ok ? QString() : QStringLiteral("HTTP 500 from the live-score site");
    record.matches = matches;
    return record;
}

TEST(StatusFile, KeepsTheLastCycleAndTheLastSuccessfulOne) {
    StatusFile status(QString(), QDateTime::currentDateTimeUtc());
    EXPECT_TRUE(status.ToJson().value(QStringLiteral("lastCycle")).isNull());
    CycleRecord configurationKept = cycle(true, 12);
    configurationKept.configurationError = QStringLiteral("HTTP status 404");
    status.RecordCycle(configurationKept);
    status.RecordCycle(cycle(false, 0));
    const QJsonObject json = status.ToJson();
    EXPECT_EQ(json[QStringLiteral("lastCycle")][QStringLiteral("outcome")].toString(), QStringLiteral("failed"));
    EXPECT_EQ(json[QStringLiteral("lastCycle")][QStringLiteral("error")].toString(),
              QStringLiteral("HTTP 500 from the live-score site"));
    EXPECT_EQ(json[QStringLiteral("lastCycle")][QStringLiteral("configuration")][QStringLiteral("outcome")].toString(),
              QStringLiteral("applied"));
    const QJsonValue success = json[QStringLiteral("lastSuccessfulCycle")];
    EXPECT_EQ(success[QStringLiteral("matches")].toInt(), 12);
    EXPECT_EQ(success[QStringLiteral("configuration")][QStringLiteral("outcome")].toString(), QStringLiteral("kept"));
    EXPECT_EQ(success[QStringLiteral("configuration")][QStringLiteral("error")].toString(),
              QStringLiteral("HTTP status 404"));
}

TEST(StatusFile, WritesEverySlotAndReplacesTheFileWhole) {
    testing::TempFolder dir;
    const QString path = dir.qtPath(QStringLiteral("status.json"));
    StatusFile status(path, QDateTime::currentDateTimeUtc());
    status.RecordSlot(3, {QStringLiteral("SERIEA;"), 5, QDateTime::currentDateTime(), QStringLiteral("ITALY-SERIE A"),
                          QStringLiteral("\r\nJUVENTUS-INTER\r\n"), QStringLiteral("[14]GOAL 1-0 JUVENTUS"),
                          HeldGoalRecord{QStringLiteral("45\" JUVENTUS-INTER   1-0"), QDateTime::currentDateTime()}});
    status.RecordSlot(12, {});  // out of range: ignored
    ASSERT_TRUE(status.Write());
    ASSERT_TRUE(status.Write());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray slotList = QJsonDocument::fromJson(file.readAll()).object()[QStringLiteral("slots")].toArray();
    ASSERT_EQ(slotList.size(), 11);
    EXPECT_EQ(slotList[2][QStringLiteral("panel")][QStringLiteral("markup")].toString(),
              QStringLiteral("[14]GOAL 1-0 JUVENTUS"));
    EXPECT_EQ(slotList[2][QStringLiteral("goal")][QStringLiteral("line")].toString(),
              QStringLiteral("45\" JUVENTUS-INTER   1-0"));
    EXPECT_TRUE(slotList[3][QStringLiteral("goal")].isNull());
    EXPECT_TRUE(slotList[2][QStringLiteral("resultsTime")].isString());
    EXPECT_TRUE(slotList[3][QStringLiteral("resultsTime")].isNull());  // nothing fetched yet
    EXPECT_EQ(QDir(dir.qtPath()).entryList(QDir::Files).size(), 1);    // no temporary left behind
}

TEST(StatusFile, UnwritablePathIsReportedNotFatal) {
    StatusFile status(QStringLiteral("/proc/caltrix-status.json"), QDateTime::currentDateTimeUtc());
    EXPECT_FALSE(status.Write());
}

}  // namespace
}  // namespace caltrix
