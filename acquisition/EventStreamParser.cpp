#include "acquisition/EventStreamParser.h"

namespace caltrix {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

bool EventStreamParser::Feed(std::string_view bytes, const EventHandler& onEvent) {
    if (!m_fault.empty()) return false;
    for (const char byte : bytes) {
        if (m_afterCarriageReturn) {
            m_afterCarriageReturn = false;
            if (byte == '\n') continue;
        }
        if (byte == '\r' || byte == '\n') {
            m_afterCarriageReturn = byte == '\r';
            if (!endLine(onEvent)) return false;
            continue;
        }
        m_line.push_back(byte);
        if (!m_started && m_line.size() == kByteOrderMark.size() && m_line == kByteOrderMark) {
            m_line.clear();
            m_started = true;
        }
        if (m_line.size() > kMaxLineBytes) {
            m_fault = "a line longer than " + std::to_string(kMaxLineBytes) + " bytes";
            return false;
        }
    }
    return true;
}

bool EventStreamParser::endLine(const EventHandler& onEvent) {
    m_started = true;
    if (m_line.empty()) {
        dispatch(onEvent);
    } else if (m_line.front() != ':') {
        takeField(m_line);
        if (m_data.size() + m_type.size() > kMaxEventBytes) {
            m_fault = "an event larger than " + std::to_string(kMaxEventBytes) + " bytes";
            return false;
        }
    }
    m_line.clear();
    return true;
}

// "name: value" (one space after the colon is not part of the value); a line
// without a colon is a name with an empty value. Unknown names are ignored,
// and so is "retry": the client keeps its own reconnection schedule.
void EventStreamParser::takeField(std::string_view line) {
    const std::size_t colon = line.find(':');
    const std::string_view name = line.substr(0, colon);
    std::string_view value = colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
    if (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    if (name == "event") {
        m_type = value;
    } else if (name == "data") {
        m_data.append(value);
        m_data.push_back('\n');
    } else if (name == "id" && value.find('\0') == std::string_view::npos) {
        m_lastEventId = value;
    }
}

void EventStreamParser::dispatch(const EventHandler& onEvent) {
    if (!m_data.empty()) {
        m_data.pop_back();  // the LF after the last data line
        onEvent(StreamEvent{m_type.empty() ? "message" : m_type, m_data, m_lastEventId});
    }
    m_type.clear();
    m_data.clear();
}

}  // namespace caltrix
