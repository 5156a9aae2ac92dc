#include "app/status/StatusFile.h"

#include "app/logging/AppLogging.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace caltrix {
namespace {

QJsonValue timeJson(const QDateTime& time) {
    return time.isValid() ? QJsonValue(time.toUTC().toString(Qt::ISODateWithMs)) : QJsonValue(QJsonValue::Null);
}

QJsonObject configurationJson(const CycleRecord& cycle) {
    const bool applied = cycle.configurationError.isEmpty();
    QJsonObject json{
        {QStringLiteral("outcome"), applied ? QStringLiteral("applied") : QStringLiteral("kept")},
        {QStringLiteral("bytes"), cycle.configurationBytes},
    };
    if (!applied) json.insert(QStringLiteral("error"), cycle.configurationError);
    return json;
}

QJsonValue cycleJson(const std::optional<CycleRecord>& cycle) {
    if (!cycle) return QJsonValue::Null;
    QJsonObject json{
        {QStringLiteral("time"), timeJson(cycle->finished)},
        {QStringLiteral("outcome"), cycle->succeeded ? QStringLiteral("ok") : QStringLiteral("failed")},
        {QStringLiteral("configuration"), configurationJson(*cycle)},
        {QStringLiteral("pageBytes"), cycle->pageBytes},
        {QStringLiteral("competitions"), cycle->competitions},
        {QStringLiteral("matches"), cycle->matches},
    };
    if (!cycle->succeeded) json.insert(QStringLiteral("error"), cycle->error);
    return json;
}

QJsonValue goalJson(const std::optional<HeldGoalRecord>& goal) {
    if (!goal) return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("line"), goal->line}, {QStringLiteral("until"), timeJson(goal->until)}};
}

QJsonObject slotJson(int slot, const SlotRecord& record) {
    return {
        {QStringLiteral("slot"), slot},
        {QStringLiteral("selection"), record.selection},
        {QStringLiteral("lines"), record.lines},
        {QStringLiteral("resultsTime"), timeJson(record.resultsTime)},
        {QStringLiteral("panel"), QJsonObject{{QStringLiteral("title"), record.title},
                                              {QStringLiteral("text"), record.text},
                                              {QStringLiteral("markup"), record.markup}}},
        {QStringLiteral("goal"), goalJson(record.goal)},
    };
}

QJsonValue optionalJson(const std::optional<qint64>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonObject eventStreamJson(const EventStreamRecord& stream) {
    QJsonValue last = QJsonValue::Null;
    if (stream.version >= 0)
        last = QJsonObject{{QStringLiteral("version"), stream.version},
                           {QStringLiteral("page"), optionalJson(stream.pageVersion)},
                           {QStringLiteral("configuration"), optionalJson(stream.configurationVersion)},
                           {QStringLiteral("time"), timeJson(stream.lastEvent)}};
    return {{QStringLiteral("address"), stream.address},
            {QStringLiteral("state"), stream.state},
            {QStringLiteral("connected"), stream.state == QLatin1String("connected")},
            {QStringLiteral("lastEvent"), last}};
}

}  // namespace

StatusFile::StatusFile(QString path, QDateTime started) : m_path(std::move(path)), m_started(std::move(started)) {}

void StatusFile::RecordCycle(const CycleRecord& cycle) {
    m_lastCycle = cycle;
    ++(cycle.succeeded ? m_goodCycles : m_failedCycles);
    if (cycle.succeeded) m_lastSuccess = cycle;
}

void StatusFile::RecordSlot(int slot, const SlotRecord& record) {
    if (IsSlot(slot)) m_slots[static_cast<std::size_t>(slot - 1)] = record;
}

QJsonObject StatusFile::ToJson() const {
    QJsonArray slotList;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        slotList.append(slotJson(slot, m_slots[static_cast<std::size_t>(slot - 1)]));
    QJsonObject json{
        {QStringLiteral("program"), QJsonObject{{QStringLiteral("version"), QStringLiteral(CALTRIX_VERSION)},
                                                {QStringLiteral("started"), timeJson(m_started)}}},
        {QStringLiteral("written"), timeJson(QDateTime::currentDateTimeUtc())},
        {QStringLiteral("stale"), m_stale},
        {QStringLiteral("lastCycle"), cycleJson(m_lastCycle)},
        {QStringLiteral("lastSuccessfulCycle"), cycleJson(m_lastSuccess)},
        {QStringLiteral("slots"), slotList},
    };
    if (m_feedStatus) json.insert(QStringLiteral("feed"), m_feedStatus());
    if (m_events) json.insert(QStringLiteral("events"), eventStreamJson(*m_events));
    return json;
}

QJsonObject StatusFile::CycleCounts() const {
    return {{QStringLiteral("ok"), m_goodCycles}, {QStringLiteral("failed"), m_failedCycles}};
}

bool StatusFile::Write() const {
    if (m_path.isEmpty()) return true;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(ToJson()).toJson()) < 0 || !file.commit()) {
        qCWarning(lcShell) << "cannot write the status file" << m_path << ":" << file.errorString();
        return false;
    }
    return true;
}

}  // namespace caltrix
