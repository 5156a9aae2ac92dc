// Keeps the status file up to date with the screen: the cycles' outcomes,
// the event stream, the stale mark, and per slot its selection, its lines,
// when they were fetched, what its panel shows and the goal it holds.
#pragma once

#include "app/status/StatusFile.h"
#include "common/Slots.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

namespace Pannello2 {
class _Pannello;
}

namespace caltrix {

struct CycleReport;
class EventStream;
class SlotDisplay;
class SlotSelectionStore;
class StaleMark;

// What the recorder reads the screen's state from; all must outlive it.
struct ScreenParts {
    std::array<const Pannello2::_Pannello*, kSlotCount> panels{};  // panels[k-1] shows slot k
    const SlotDisplay* display = nullptr;
    const SlotSelectionStore* selections = nullptr;
    const StaleMark* staleMark = nullptr;
};

class StatusRecorder {
public:
    StatusRecorder(StatusFile file, ScreenParts parts);

    const StatusFile& File() const { return m_file; }

    // Slot k's lines were just loaded: they come from the latest good cycle.
    void NoteResultsLoaded(int slot);
    void RecordCycle(const CycleReport& report);
    void RecordEventStream(const EventStream& events);
    // Writes the file when what it would say has changed.
    void Record();

private:
    std::optional<HeldGoalRecord> heldGoal(int slot) const;

    StatusFile m_file;
    ScreenParts m_parts;
    QString m_written;                                // what the file holds, to write it only on changes
    std::array<QDateTime, kSlotCount> m_resultsTime;  // per slot: the good cycle its loaded lines come from
};

}  // namespace caltrix
