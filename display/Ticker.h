// The scrolling ticker line: a 50-character window moving one character to
// the left per step over the text `Stringa`, and the clock's text.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace caltrix {

class Ticker {
public:
    static constexpr std::size_t kWindowWidth = 50;
    // Spaces on each side of a text set at run time (the configured text, the
    // stale mark's, a held goal's), so it scrolls in and out of an empty line.
    static constexpr std::size_t kMargin = 60;
    // Spaces on each side of the design text.
    static constexpr std::size_t kDesignMargin = 40;

    // `text` between the margins of a text set at run time.
    static std::string Padded(std::string_view text);
    // Puts the design text between its margins and shows it from its start.
    void PadDesignText();

    const std::string& Stringa() const { return m_stringa; }
    void SetStringa(std::string stringa) { m_stringa = std::move(stringa); }
    // 1-based position of the first character shown. Kept wider than 16 bits,
    // so a text of any length scrolls.
    int StringaStart() const { return m_stringaStart; }
    void SetStringaStart(int start) { m_stringaStart = start; }

    // A text scrolled in place of `Stringa` from its start (a held goal), until
    // ended; `Stringa` can still be set meanwhile and comes back, from its
    // start, when the interruption ends.
    void Interrupt(std::string text);
    void EndInterruption();
    bool Interrupted() const { return m_interruption.has_value(); }
    // Names a held goal by its headline in place of `Stringa`, or goes back
    // to `Stringa` when the headline is empty. The same headline again
    // changes nothing, so the scroll goes on.
    void NameHeldGoal(const std::string& headline);

    // The text shown for the current position (shorter, or empty, near the end).
    std::string Window() const;

    // One step. `processEvents` is called at the two points where the caller
    // processes pending events (before showing and after advancing), `show`
    // receives the window to show. The wrap uses the length noted at the start
    // of the step, also when `Stringa` is replaced during the event processing.
    void Step(const std::function<void()>& processEvents, const std::function<void(const std::string&)>& show);

private:
    const std::string& Shown() const { return m_interruption ? *m_interruption : m_stringa; }

    std::string m_stringa;
    std::optional<std::string> m_interruption;
    int m_stringaStart = 1;
    std::string m_heldGoal;  // the headline named; empty for none
};

}  // namespace caltrix
