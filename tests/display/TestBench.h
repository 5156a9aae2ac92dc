// A test bench: the slot display with eleven recording panels and flash
// timers, a single-panel window panel, and a fresh program folder.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "FakePannello.h"
#include "common/LineFile.h"
#include "display/SlotDisplay.h"
#include "tests/support/TempFolder.h"

namespace caltrix::test {

// A stored match line: status and teams padded to 40 characters, then the score.
inline std::string MatchLine(std::string sides, const std::string& score) {
    sides.resize(40, ' ');
    return sides + score;
}

class TestBench {
public:
    TestBench() : solo(log, "solo"), timerSolo(log, "fs"), flashSolo(solo, timerSolo) {
        std::array<Pannello2::_Pannello*, kSlotCount> panels{};
        std::array<FlashTimer*, kSlotCount> timers{};
        for (int k = 1; k <= kSlotCount; ++k) {
            m_panels[k - 1] = std::make_unique<FakePannello>(log, "p" + std::to_string(k));
            m_timers[k - 1] = std::make_unique<FakeTimer>(log, "f" + std::to_string(k));
            panels[k - 1] = m_panels[k - 1].get();
            timers[k - 1] = m_timers[k - 1].get();
        }
        display = std::make_unique<SlotDisplay>(folder.path(), panels, timers,
                                                [this](int element) { return switches[element]; });
        display->Interpreter().SetSolo(&flashSolo);
        log.clear();
    }

    FakePannello& Pannello(int slot) { return *m_panels[slot - 1]; }
    FakeTimer& Timer(int slot) { return *m_timers[slot - 1]; }
    LineInterpreter& Interpreter() { return display->Interpreter(); }
    // Interprets one line for a slot and returns the calls it made.
    Log Interpret(int slot, const std::string& line) {
        log.clear();
        Interpreter().InterpretaRiga(slot, line);
        return log;
    }
    // Writes a slot file and loads it into its slot.
    void Load(int slot, const std::string& bytes) {
        WriteWholeFile(folder / ("lmVideo" + std::to_string(slot) + ".txt"), bytes);
        display->Loader().CaricaVideo(static_cast<std::int16_t>(slot));
    }

    Log log;
    testing::TempFolder folder;
    std::array<bool, 12> switches{true, true, true, true, true, true, true, true, true, true, true, true};
    FakePannello solo;
    FakeTimer timerSolo;
    ScoreFlash flashSolo;
    std::unique_ptr<SlotDisplay> display;

private:
    std::array<std::unique_ptr<FakePannello>, kSlotCount> m_panels;
    std::array<std::unique_ptr<FakeTimer>, kSlotCount> m_timers;
};

}  // namespace caltrix::test
