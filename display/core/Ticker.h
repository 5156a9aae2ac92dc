// The scrolling ticker line: a 50-character window moving one character to
// the left per step over the text `Stringa`, and the clock's text.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace caltrix {

class Ticker {
public:
    static constexpr std::size_t kWindowWidth = 50;

    const std::string& Stringa() const { return m_stringa; }
    void SetStringa(std::string stringa) { m_stringa = std::move(stringa); }
    // 1-based position of the first character shown. Kept wider than 16 bits,
    // so a text of any length scrolls.
    int StringaStart() const { return m_stringaStart; }
    void SetStringaStart(int start) { m_stringaStart = start; }

    // The text shown for the current position (shorter, or empty, near the end).
    std::string Window() const;

    // One step. `processEvents` is called at the two points where the caller
    // processes pending events (before showing and after advancing), `show`
    // receives the window to show. The wrap uses the length noted at the start
    // of the step, also when `Stringa` is replaced during the event processing.
    void Step(const std::function<void()>& processEvents, const std::function<void(const std::string&)>& show);

private:
    std::string m_stringa;
    int m_stringaStart = 1;
};

}  // namespace caltrix
