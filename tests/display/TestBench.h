// A test bench: the slot display with eleven recording panels and flash
// timers, a single-panel window panel, and a fresh program folder.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "FakePannello.h"
#include "common/LineFile.h"
#include "display/core/SlotDisplay.h"

namespace caltrix::test {

// A stored match line: status and teams padded to 40 characters, then the score.
inline std::string Partita(std::string testa, const std::string& punteggio) {
    testa.resize(40, ' ');
    return testa + punteggio;
}

class Cartella {
public:
    Cartella() {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() / ("caltrix-display-" + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~Cartella() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& Path() const { return m_path; }
    void Scrivi(const std::string& name, const std::string& bytes) const { WriteWholeFile(m_path / name, bytes); }

private:
    std::filesystem::path m_path;
};

class Banco {
public:
    Banco() : solo(log, "solo"), timerSolo(log, "fs"), flashSolo(solo, timerSolo) {
        std::array<Pannello2::_Pannello*, Tabellone::kSlots> pannelli{};
        std::array<FlashTimer*, Tabellone::kSlots> timers{};
        for (int k = 1; k <= Tabellone::kSlots; ++k) {
            m_pannelli[k - 1] = std::make_unique<FakePannello>(log, "p" + std::to_string(k));
            m_timers[k - 1] = std::make_unique<FakeTimer>(log, "f" + std::to_string(k));
            pannelli[k - 1] = m_pannelli[k - 1].get();
            timers[k - 1] = m_timers[k - 1].get();
        }
        tabellone = std::make_unique<Tabellone>(cartella.Path(), pannelli, timers,
                                                [this](int element) { return interruttori[element]; });
        tabellone->Interprete().SetSolo(&flashSolo);
        log.clear();
    }

    FakePannello& Pannello(int slot) { return *m_pannelli[slot - 1]; }
    FakeTimer& Timer(int slot) { return *m_timers[slot - 1]; }
    InterpreteRiga& Interprete() { return tabellone->Interprete(); }
    // Interprets one line for a slot and returns the calls it made.
    Log Interpreta(int slot, const std::string& riga) {
        log.clear();
        Interprete().InterpretaRiga(slot, riga);
        return log;
    }
    // Writes a slot file and loads it into its slot.
    void Carica(int slot, const std::string& bytes) {
        cartella.Scrivi("lmVideo" + std::to_string(slot) + ".txt", bytes);
        tabellone->Caricatore().CaricaVideo(static_cast<std::int16_t>(slot));
    }

    Log log;
    Cartella cartella;
    std::array<bool, 12> interruttori{true, true, true, true, true, true, true, true, true, true, true, true};
    FakePannello solo;
    FakeTimer timerSolo;
    FlashPunteggio flashSolo;
    std::unique_ptr<Tabellone> tabellone;

private:
    std::array<std::unique_ptr<FakePannello>, Tabellone::kSlots> m_pannelli;
    std::array<std::unique_ptr<FakeTimer>, Tabellone::kSlots> m_timers;
};

}  // namespace caltrix::test
