#include "display/SlotDisplayTimers.h"

#include <exception>
#include <utility>

#include "common/qt/Logging.h"
#include "common/qt/TimeScale.h"

namespace caltrix {
namespace {

constexpr int kIntervalloPrimoSlotMs = 3000;
constexpr int kIntervalloSlotMs = 4000;
// Markup failures remembered per slot so that they are logged once; a bound for a page gone wrong.
constexpr std::size_t kErroriMarkupRicordati = 100;

}  // namespace

SchermoRisultati::SchermoRisultati(const std::filesystem::path& cartellaProgramma,
                                   const std::array<Pannello2::_Pannello*, kSlots>& pannelli,
                                   RotazioneSlot::Interruttore interruttore, QObject* parent)
    : QObject(parent) {
    std::array<FlashTimer*, kSlots> timerFlash{};
    for (int k = 1; k <= kSlots; ++k) {
        m_timerFlash[k - 1] = std::make_unique<QtFlashTimer>([this, k] { TickFlash(k); });
        timerFlash[k - 1] = m_timerFlash[k - 1].get();
    }
    m_tabellone = std::make_unique<Tabellone>(cartellaProgramma, pannelli, timerFlash, std::move(interruttore));

    for (int k = 1; k <= kSlots; ++k) {
        auto timer = std::make_unique<QTimer>();
        timer->setInterval(ScaledMilliseconds(k == 1 ? kIntervalloPrimoSlotMs : kIntervalloSlotMs));
        connect(timer.get(), &QTimer::timeout, this, [this, k] { TickSlot(k); });
        timer->start();
        m_timerSlot[k - 1] = std::move(timer);
    }
}

SchermoRisultati::~SchermoRisultati() = default;

void SchermoRisultati::CaricaProssimoVideo() {
    if (const auto errore = m_tabellone->CaricaProssimoVideo()) {
        qCWarning(lcDisplay).noquote() << QString::fromStdString(*errore);
    }
}

void SchermoRisultati::TickSlot(int slot) {
    const EsitoTick esito = m_tabellone->TickSlot(slot);
    if (esito.tipo == EsitoTick::Tipo::Fallita) {
        qCWarning(lcDisplay).noquote() << "slot" << slot << "tick failed, rotation restarts at line 1:"
                                       << QString::fromStdString(esito.errore);
    } else if (esito.tipo == EsitoTick::Tipo::MarkupScartata) {
        // The same lines come round again at every pass of the rotation: each failure is logged once.
        std::set<std::string>& giaRegistrati = m_erroriMarkupRegistrati[slot - 1];
        if (giaRegistrati.size() >= kErroriMarkupRicordati) giaRegistrati.clear();
        if (!giaRegistrati.insert(esito.errore).second) return;
        qCWarning(lcDisplay).noquote() << "slot" << slot << "score markup cannot be drawn and was cleared:"
                                       << QString::fromStdString(esito.errore);
    }
}

void SchermoRisultati::TickFlash(int slot) {
    try {
        m_tabellone->TickFlash(slot);
    } catch (const std::exception& error) {
        qCWarning(lcDisplay).noquote() << "slot" << slot << "flash failed:" << error.what();
    }
}

}  // namespace caltrix
