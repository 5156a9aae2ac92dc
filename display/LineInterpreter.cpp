#include "display/LineInterpreter.h"

#include "display/StoredLine.h"
#include "display/MatchWriter.h"

namespace caltrix {
namespace {

// A panel keeps the markup it was given even when it cannot draw it, and
// redraws that at the next line's HTFisso, failing again: so undrawable markup
// (a score cut from a broken page line, such as "[-1") is cleared from the
// panel before the failure goes on to the caller.
template <typename Write>
void writeOrDrop(ScoreFlash& flash, const Write& write) {
    try {
        write();
    } catch (const Pannello2::MarkupError&) {
        flash.Panel().SetTestoPic({});
        throw;
    }
}

void showChange(ScoreFlash& flash, const ScoreChange& change, Rules rules) {
    Pannello2::_Pannello& panel = flash.Panel();
    if (!change.title.empty()) panel.SetTitolo(change.title);
    flash.Stop();
    panel.FTFisso();
    panel.HTFisso();
    writeOrDrop(flash, [&] {
        if (change.kind == ScoreChange::Kind::Goal)
            WriteGoal(flash, change, rules);
        else
            WriteMatch(flash, StoredLine(change.line), rules);
    });
}

}  // namespace

void LineInterpreter::ShowScoreChange(int slot, const ScoreChange& change) {
    if (slot < 1 || slot > kSlotCount) return;
    showChange(Flash(slot), change, Rules::Slot);
    if (m_solo != nullptr && m_panSel == slot) showChange(*m_solo, change, Rules::Solo);
}

LineInterpreter::LineInterpreter(const std::array<ScoreFlash*, kSlotCount>& flashes) : m_flashes(flashes) {}

void LineInterpreter::InterpretaRiga(int slot, std::string_view line) {
    if (slot < 1 || slot > kSlotCount) return;
    ScoreFlash& flash = Flash(slot);
    std::string& title = m_titoliPannello[slot - 1];
    if (!title.empty()) flash.Panel().SetTitolo(title);
    flash.Stop();

    const StoredLine match(line);
    switch (match.Kind(Rules::Slot)) {
    case LineKind::Empty:
        break;
    case LineKind::Header:
        title = Pulisci(match.Trim());
        break;
    default:
        title.clear();
        flash.Panel().FTFisso();
        flash.Panel().HTFisso();
        flash.Stop();
        writeOrDrop(flash, [&] { WriteMatch(flash, match, Rules::Slot); });
        break;
    }
    Mirror(slot, line);
}

void LineInterpreter::Mirror(int slot, std::string_view line) {
    if (m_solo == nullptr || m_panSel != slot) return;
    Pannello2::_Pannello& solo = m_solo->Panel();
    solo.SetTitolo(Panel(slot).Titolo());
    m_solo->Stop();

    const StoredLine match(line);
    const auto kind = match.Kind(Rules::Solo);
    if (kind == LineKind::Empty || kind == LineKind::Header) return;
    solo.FTFisso();
    solo.HTFisso();
    m_solo->Stop();
    writeOrDrop(*m_solo, [&] { WriteMatch(*m_solo, match, Rules::Solo); });
}

}  // namespace caltrix
