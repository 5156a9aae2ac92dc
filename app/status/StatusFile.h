// A small JSON status file for operators who watch displays remotely: program
// version and start, whether the results shown are stale, the last cycle and
// the last successful one (each with its configuration's own outcome), and per
// slot its selection, its line count, when its results were fetched and what
// its panel shows now, the embedded feed's own status when there is one, and
// the event stream the screen follows.
// Written atomically, so a reader never sees half a file.
#pragma once

#include "common/Slots.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace caltrix {

struct CycleRecord {
    QDateTime finished;
    bool succeeded = false;
    QString error;               // why it failed; empty on success
    QString configurationError;  // why the configuration stayed as it was; empty when applied
    qint64 configurationBytes = 0;
    qint64 pageBytes = 0;
    qint64 competitions = 0;
    qint64 matches = 0;
};

// A goal a slot holds on its panel.
struct HeldGoalRecord {
    QString line;     // its stored result line
    QDateTime until;  // when the hold ends
};

struct SlotRecord {
    QString selection;
    int lines = 0;          // stored result lines of the slot
    QDateTime resultsTime;  // end of the cycle that fetched them; null before any
    QString title;          // what the slot's panel shows now
    QString text;
    QString markup;
    std::optional<HeldGoalRecord> goal;  // none while the slot holds no goal
};

// The feed server's event stream the screen follows.
struct EventStreamRecord {
    QString address;
    QString state;        // "connecting", "connected", "dropped" or "refused"
    qint64 version = -1;  // of the last page event; -1 before any
    std::optional<qint64> pageVersion, configurationVersion;
    QDateTime lastEvent;  // when it arrived
};

class StatusFile {
public:
    StatusFile(QString path, QDateTime started);

    void RecordCycle(const CycleRecord& cycle);
    void RecordSlot(int slot, const SlotRecord& record);  // slot 1..11
    void SetStale(bool stale) { m_stale = stale; }
    void SetEventStream(const EventStreamRecord& stream) { m_events = stream; }
    // The "feed" object, asked for at each write so its age is current.
    void SetFeedStatus(std::function<QJsonObject()> feedStatus) { m_feedStatus = std::move(feedStatus); }

    QJsonObject ToJson() const;
    // The cycles recorded so far: {"ok": N, "failed": M}.
    QJsonObject CycleCounts() const;
    // Writes the file (nothing without a path); false (and a log line) when it cannot.
    bool Write() const;

private:
    QString m_path;
    QDateTime m_started;
    bool m_stale = false;
    std::optional<CycleRecord> m_lastCycle;
    std::optional<CycleRecord> m_lastSuccess;
    qint64 m_goodCycles = 0;
    qint64 m_failedCycles = 0;
    std::array<SlotRecord, kSlotCount> m_slots{};
    std::function<QJsonObject()> m_feedStatus;
    std::optional<EventStreamRecord> m_events;  // none while the screen follows no stream
};

}  // namespace caltrix
