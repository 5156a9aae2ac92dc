#include "display/qt/SlotDisplayTimers.h"

#include <exception>
#include <utility>

#include "common/LineFile.h"
#include "display/qt/DisplayLogging.h"
#include "common/qt/TimeScale.h"

namespace caltrix {
namespace {

constexpr int kFirstSlotIntervalMs = 3000;
constexpr int kSlotIntervalMs = 4000;
// Markup failures remembered per slot so that they are logged once; a bound for a page gone wrong.
constexpr std::size_t kMarkupErrorsRemembered = 100;

}  // namespace

SlotDisplayTimers::SlotDisplayTimers(const std::filesystem::path& programFolder,
                                     const std::array<Pannello2::_Pannello*, kSlotCount>& panels,
                                     SlotRotation::SlotSwitch slotSwitch, QObject* parent)
    : QObject(parent) {
    std::array<FlashTimer*, kSlotCount> timerFlash{};
    for (int k = 1; k <= kSlotCount; ++k) {
        m_timerFlash[k - 1] = std::make_unique<QtFlashTimer>([this, k] { TickFlash(k); });
        timerFlash[k - 1] = m_timerFlash[k - 1].get();
    }
    m_display = std::make_unique<SlotDisplay>(programFolder, panels, timerFlash, std::move(slotSwitch));

    for (int k = 1; k <= kSlotCount; ++k) {
        auto timer = std::make_unique<QTimer>();
        timer->setInterval(ScaledMilliseconds(k == 1 ? kFirstSlotIntervalMs : kSlotIntervalMs));
        connect(timer.get(), &QTimer::timeout, this, [this, k] { TickSlot(k); });
        timer->start();
        m_slotTimers[k - 1] = std::move(timer);
    }
    m_display->SetHoldFailure([](int slot, const std::string& error) {
        qCWarning(lcDisplay).noquote() << "slot" << slot << "goal cannot be drawn, its strip stays clear:"
                                       << QString::fromStdString(error);
    });
    m_holdTimer.setSingleShot(true);
    m_holdTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_holdTimer, &QTimer::timeout, this, &SlotDisplayTimers::TickHolds);
}

void SlotDisplayTimers::SetGoalHold(double seconds) {
    const int holdMs = ScaledMilliseconds(seconds * 1000.0);
    m_display->SetGoalHold(std::chrono::milliseconds(holdMs));
    armHoldTimer();
}

// A slot whose hold ended goes on with its rotation at once.
void SlotDisplayTimers::TickHolds() {
    for (const int slot : m_display->TickHolds()) TickSlot(slot);
    armHoldTimer();
}

// Holds begin only with a load, and end or hand over at TickHolds: after
// each, the timer is set for the next end, or stopped.
void SlotDisplayTimers::armHoldTimer() {
    const auto left = m_display->UntilNextHoldEnd();
    if (!left) {
        m_holdTimer.stop();
        return;
    }
    m_holdTimer.start(static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*left).count()));
}

SlotDisplayTimers::~SlotDisplayTimers() = default;

void SlotDisplayTimers::CaricaProssimoVideo() {
    if (const auto error = m_display->CaricaProssimoVideo()) {
        qCWarning(lcDisplay).noquote() << QString::fromStdString(*error);
    }
    armHoldTimer();
}

bool SlotDisplayTimers::LoadSlotFile(int slot) {
    SlotFileLoader& loader = m_display->Loader();
    const auto number = static_cast<std::int16_t>(slot);
    if (!EsisteFile(loader.FilePath(number))) return false;
    const auto error = loader.CaricaVideo(number);
    armHoldTimer();
    if (error) qCWarning(lcDisplay).noquote() << QString::fromStdString(*error);
    return !error;
}

void SlotDisplayTimers::TickSlot(int slot) {
    const TickOutcome outcome = m_display->TickSlot(slot);
    if (outcome.kind == TickOutcome::Kind::Failed) {
        qCWarning(lcDisplay).noquote() << "slot" << slot << "tick failed, rotation restarts at line 1:"
                                       << QString::fromStdString(outcome.error);
    } else if (outcome.kind == TickOutcome::Kind::MarkupDropped) {
        // The same lines come round again at every pass of the rotation: each failure is logged once.
        std::set<std::string>& alreadyLogged = m_markupErrorsLogged[slot - 1];
        if (alreadyLogged.size() >= kMarkupErrorsRemembered) alreadyLogged.clear();
        if (!alreadyLogged.insert(outcome.error).second) return;
        qCWarning(lcDisplay).noquote() << "slot" << slot << "score markup cannot be drawn and was cleared:"
                                       << QString::fromStdString(outcome.error);
    }
}

void SlotDisplayTimers::TickFlash(int slot) {
    try {
        m_display->TickFlash(slot);
    } catch (const std::exception& error) {
        qCWarning(lcDisplay).noquote() << "slot" << slot << "flash failed:" << error.what();
    }
}

}  // namespace caltrix
