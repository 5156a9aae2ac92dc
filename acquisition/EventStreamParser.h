// Reads a Server-Sent Events stream (text/event-stream, as browsers'
// EventSource reads it) piece by piece as it arrives: lines end at CR LF, LF
// or CR; "field: value" lines build an event, an empty line dispatches it,
// lines starting with ":" are comments (heartbeats).
// A stream cannot make it hold more than its caps: a line or an event longer
// than allowed breaks the stream, and the caller drops the connection.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace caltrix {

struct StreamEvent {
    std::string type;  // "message" when the event names none
    std::string data;  // its data lines, joined by LF
    std::string id;    // the last event id the stream has given, this one's or an earlier one's
};

class EventStreamParser {
public:
    static constexpr std::size_t kMaxLineBytes = 4096;
    static constexpr std::size_t kMaxEventBytes = 16384;

    using EventHandler = std::function<void(const StreamEvent&)>;

    // Reads the next piece of the stream, calling `onEvent` for each event it
    // completes. Returns false, with Fault() saying why, once the stream has
    // broken a cap; everything after that is ignored.
    bool Feed(std::string_view bytes, const EventHandler& onEvent);

    const std::string& Fault() const { return m_fault; }
    const std::string& LastEventId() const { return m_lastEventId; }

private:
    bool endLine(const EventHandler& onEvent);
    void takeField(std::string_view line);
    void dispatch(const EventHandler& onEvent);

    std::string m_line;
    bool m_afterCarriageReturn = false;  // a CR ended the last line: an LF right after it belongs to it
    bool m_started = false;              // past a leading byte order mark
    std::string m_type;
    std::string m_data;
    std::string m_lastEventId;
    std::string m_fault;
};

}  // namespace caltrix
