#include "app/status/StatusRecorder.h"

#include "acquisition/qt/EventStream.h"
#include "acquisition/qt/UpdateCycle.h"
#include "app/status/StaleMark.h"
#include "common/SlotSelectionStore.h"
#include "common/qt/Text1252Qt.h"
#include "display/SlotDisplay.h"

#include <Pannello/Pannello.h>

#include <algorithm>
#include <chrono>

namespace caltrix {

StatusRecorder::StatusRecorder(StatusFile file, ScreenParts parts) : m_file(std::move(file)), m_parts(parts) {}

void StatusRecorder::NoteResultsLoaded(int slot) {
    if (IsSlot(slot) && m_parts.display->Lines().Count(slot) > 0)
        m_resultsTime[static_cast<std::size_t>(slot - 1)] = m_parts.staleMark->LastGoodCycle();
}

void StatusRecorder::RecordCycle(const CycleReport& report) {
    CycleRecord cycle;
    cycle.finished = QDateTime::currentDateTime();
    cycle.succeeded = report.completed;
    if (!report.completed) cycle.error = QStringLiteral("%1: %2").arg(QLatin1String(report.step), report.error);
    cycle.configurationError = report.configurationError;
    cycle.configurationBytes = report.configurationBytes;
    cycle.pageBytes = static_cast<qint64>(report.pageBytes);
    cycle.competitions = static_cast<qint64>(report.parse.competitions);
    cycle.matches = static_cast<qint64>(report.parse.matches);
    m_file.RecordCycle(cycle);
    m_written.clear();  // force the next write
    Record();
}

void StatusRecorder::RecordEventStream(const EventStream& events) {
    static constexpr const char* kStates[] = {"connecting", "connected", "dropped", "refused"};
    EventStreamRecord record;
    record.address = events.Address().toDisplayString();
    record.state = QLatin1String(kStates[static_cast<int>(events.CurrentState())]);
    if (const auto& last = events.LastVersion()) {
        record.version = last->version;
        record.pageVersion = last->page;
        record.configurationVersion = last->configuration;
        record.lastEvent = last->received;
    }
    m_file.SetEventStream(record);
    m_written.clear();  // force the next write
    Record();
}

std::optional<HeldGoalRecord> StatusRecorder::heldGoal(int slot) const {
    const auto& held = m_parts.display->Held(slot);
    if (!held || held->change.kind != ScoreChange::Kind::Goal) return std::nullopt;
    // To the second, so that one hold reads the same at every write: the two
    // clocks read a few microseconds apart each time.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(held->until - SlotDisplay::Clock::now());
    const qint64 until = (QDateTime::currentMSecsSinceEpoch() + left.count() + 500) / 1000 * 1000;
    return HeldGoalRecord{FromWindows1252(held->change.line), QDateTime::fromMSecsSinceEpoch(until)};
}

// Checked every clock tick and after every cycle, so a slot change shows
// within a second.
void StatusRecorder::Record() {
    const bool stale = m_parts.staleMark->Stale();
    m_file.SetStale(stale);
    QString fingerprint = stale ? QStringLiteral("stale") : QString();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const auto index = static_cast<std::size_t>(slot - 1);
        const Pannello2::_Pannello& panel = *m_parts.panels[index];
        SlotRecord record{FromWindows1252(m_parts.selections->Selection(slot - 1)),
                          std::max(m_parts.display->Lines().Count(slot) - 1, 0),
                          m_resultsTime[index],
                          FromWindows1252(panel.Titolo()),
                          FromWindows1252(panel.GetTesto()),
                          FromWindows1252(panel.TestoPic()),
                          heldGoal(slot)};
        fingerprint += record.selection + record.title + record.text + record.markup + QString::number(record.lines) +
                       record.resultsTime.toString(Qt::ISODate);
        if (record.goal) fingerprint += record.goal->line + record.goal->until.toString(Qt::ISODate);
        m_file.RecordSlot(slot, record);
    }
    if (fingerprint == m_written) return;
    m_written = fingerprint;
    m_file.Write();
}

}  // namespace caltrix
