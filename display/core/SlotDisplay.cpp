#include "display/core/SlotDisplay.h"

#include <utility>

#include "common/LineFile.h"

namespace caltrix {
namespace {

std::array<std::unique_ptr<ScoreFlash>, kSlotCount> makeFlash(
    const std::array<Pannello2::_Pannello*, kSlotCount>& panels,
    const std::array<FlashTimer*, kSlotCount>& timerFlash) {
    std::array<std::unique_ptr<ScoreFlash>, kSlotCount> flash;
    for (std::size_t i = 0; i < flash.size(); ++i) {
        flash[i] = std::make_unique<ScoreFlash>(*panels[i], *timerFlash[i]);
        flash[i]->Stop();
    }
    return flash;
}

std::array<ScoreFlash*, kSlotCount> pointersTo(const std::array<std::unique_ptr<ScoreFlash>, kSlotCount>& flash) {
    std::array<ScoreFlash*, kSlotCount> pointers{};
    for (std::size_t i = 0; i < flash.size(); ++i) pointers[i] = flash[i].get();
    return pointers;
}

}  // namespace

SlotDisplay::SlotDisplay(std::filesystem::path programFolder,
                         const std::array<Pannello2::_Pannello*, kSlotCount>& panels,
                         const std::array<FlashTimer*, kSlotCount>& timerFlash, SlotRotation::SlotSwitch slotSwitch)
    : m_loader(std::move(programFolder), m_lines),
      m_flash(makeFlash(panels, timerFlash)),
      m_interpreter(pointersTo(m_flash)),
      m_rotation(m_lines, m_interpreter, std::move(slotSwitch)) {}

void SlotDisplay::PulisciPannello(int slot) {
    if (!IsSlot(slot)) return;
    Pannello2::_Pannello& p = m_interpreter.Panel(slot);
    p.SetTesto("");
    p.SetFT("");
    p.SetFTTesto("");
    p.SetHT("");
    p.SetHTTesto("");
    p.SetInfoTesto("");
    const auto file = m_loader.FilePath(static_cast<std::int16_t>(slot));
    if (EsisteFile(file)) DeleteFileIfPresent(file);
}

void SlotDisplay::ResetPannello(int slot) {
    if (!IsSlot(slot)) return;
    m_lines.Clear(slot);
    PulisciPannello(slot);
}

}  // namespace caltrix
