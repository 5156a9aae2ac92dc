// An acquisition window on temporary folders, fed by a local HTTP server,
// with every wait and time-out shortened by the time scale.
#pragma once

#include "tests/support/TempFolder.h"
#include "tests/support/TestHttpServer.h"
#include "acquisition/qt/UpdateCycle.h"
#include "common/SlotSelectionStore.h"
#include "common/qt/TimeScale.h"
#include "common/LineFile.h"

#include <gtest/gtest.h>

#include <memory>

namespace caltrix::testing {

// Records what the configuration changes; selections go to a store.
class RecordingTargets : public ConfigTargets {
public:
    explicit RecordingTargets(SlotSelectionStore& store) : m_store(store) {}
    void SetSelection(int element, const std::string& selection) override { m_store.SetSelection(element, selection); }
    void NavigateBanner(int, const std::string&) override {}
    void SetTicker(const std::string& text) override { ticker = text; }
    void SetButton(int, const std::string&, const std::string&) override {}
    void Repaint() override {}
    std::string ticker;

private:
    SlotSelectionStore& m_store;
};

inline const QString kConfigTarget = QStringLiteral("/public/config.txt");
inline const QString kPageTarget = QStringLiteral("/default.dll?page=soccer");

class CycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A page wait of at most 1.5 s: enough for the engine to load a small
        // page even on a loaded machine; the download time-out is 2 s.
        SetTimeScale(0.1);
        m_server.Serve(kConfigTarget, Answer(200, "01=SERIE A;\r\n", "text/plain"));
        m_window = std::make_unique<UpdateCycle>(SettingsFor(m_server), m_targets, m_store);
    }
    void TearDown() override {
        m_window.reset();
        SetTimeScale(1.0);
    }

    // Configuration and page from `server`, files in the test's folders.
    UpdateCycleSettings SettingsFor(const TestHttpServer& server) const {
        return {server.BaseUrl(), server.BaseUrl(), m_programFolder.path(), m_workFolder.path()};
    }
    std::filesystem::path ProgramFile(const char* name) const { return m_programFolder / name; }
    std::string SlotFile(int slot) const {
        return ReadWholeFile(ProgramFile(("lmVideo" + std::to_string(slot) + ".txt").c_str()));
    }
    void ServePage(const QByteArray& markup) { m_server.Serve(kPageTarget, Answer(200, markup)); }

    TestHttpServer m_server;
    TempFolder m_programFolder;
    TempFolder m_workFolder;
    SlotSelectionStore m_store;
    RecordingTargets m_targets{m_store};
    std::unique_ptr<UpdateCycle> m_window;
};

// A live-score page with one competition and two matches, laid out one cell
// per line with indentation.
inline const QByteArray kPageOneCellPerLine =
    "<html><body>\n<table>\n  <tr>\n    <td class=\"title\" colspan=\"4\">Italy - Serie A</td>\n  </tr>\n"
    "  <tr>\n    <td>FT</td>\n    <td>Juventus</td>\n    <td>2 - 1</td>\n    <td>Inter Milan</td>\n  </tr>\n"
    "  <tr>\n    <td>\n      67'\n    </td>\n    <td>Lazio</td>\n    <td>0 - 0</td>\n    <td>AS Roma</td>\n"
    "  </tr>\n</table>\n</body></html>\n";

// The same page with the whole table on one line.
inline const QByteArray kPageSingleLine =
    "<html><body><table><tr><td class=title colspan=4>Italy - Serie A</td></tr><tr><td>FT</td><td>Juventus</td>"
    "<td>2 - 1</td><td>Inter Milan</td></tr><tr><td>67'</td><td>Lazio</td><td>0 - 0</td><td>AS Roma</td></tr>"
    "</table></body></html>";

}  // namespace caltrix::testing
