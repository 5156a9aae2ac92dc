// Reading a stored result line: its trimmed form, score, body, team part and
// kind. Lines are as the loader stores them (upper case, score moved behind
// the 40-character team part).
#pragma once

#include <string>
#include <string_view>

namespace caltrix {

enum class LineKind {
    Empty,       // blank, or too short to hold a score
    Header,      // competition header "<...>"
    Running,     // running (a minute, or ET or AET as a word in the status)
    Finished,    // FT, AET, PEN, POSTP, SUSP
    HalfTime,    // half-time
    NotStarted,  // anything else, for example a kick-off time
};

// The rules differ between the slot panels and the single-panel window,
// which does not know the SUSP status.
enum class Rules { Slot, Solo };

class StoredLine {
public:
    explicit StoredLine(std::string_view line);

    std::string_view Line() const { return m_line; }
    std::string_view Trim() const { return m_trim; }  // T
    // The last 3 characters (the whole line when shorter).
    std::string_view Score() const;
    // The line without its last 3 characters, trimmed; empty for a line
    // shorter than 3 characters, which is classified Empty.
    std::string_view Body() const;
    // Body from its n-th character (1-based) to the end.
    std::string_view Teams(std::size_t n) const;

    LineKind Kind(Rules rules) const;
    // Status of a running line: AET, POSTP or (slot panels only) SUSP when the
    // line contains it as a word, else T up to and including its first double quote.
    std::string_view RunningStatus(Rules rules) const;

private:
    std::string_view m_line;
    std::string_view m_trim;
};

// The text with every "<" and ">" removed (the competition title of a header).
std::string Pulisci(std::string_view text);

}  // namespace caltrix
