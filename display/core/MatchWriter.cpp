#include "display/core/MatchWriter.h"

#include <algorithm>
#include <string>

#include "common/Text1252.h"

namespace caltrix {
namespace {

using Pannello2::_Pannello;

const std::string kCrLf = "\r\n";

std::string TraCrLf(std::string_view text) { return kCrLf + std::string(text) + kCrLf; }

// ScrollTesto and Testo get the same text, then the scroll is turned off.
void ScriviSquadre(_Pannello& p, const std::string& testo) {
    p.SetScrollTesto(testo);
    p.SetTesto(testo);
    p.SetScrollVerticale(false);
}

// The teams of a running line. A minute mark ("8\"", "45\"", "105\"") is cut
// whole, so the team names start right after it whatever its length; cutting
// a fixed three characters would eat a team's first letter after a one-digit
// minute (and keep a score digit at the end) or keep the quote mark after a
// three-digit one.
std::string_view SquadreInCorso(const RigaPartita& riga, std::string_view stato) {
    if (!stato.empty() && stato.back() == '"') {
        const auto corpo = riga.Corpo();
        return TrimSpaces(corpo.substr(std::min(stato.size(), corpo.size())));
    }
    return riga.Squadre(4);
}

// Testo of a running line: for a status word (AET, POSTP, SUSP) the line
// without as many characters at its end, trimmed, from its 4th character.
std::string_view TestoInCorso(const RigaPartita& riga, std::string_view stato) {
    if (!stato.empty() && stato.back() == '"') return SquadreInCorso(riga, stato);
    const auto senzaStato = TrimSpaces(Left(riga.Riga(), riga.Riga().size() - stato.size()));
    return senzaStato.size() >= 4 ? senzaStato.substr(3) : std::string_view();
}

void ScriviInCorso(FlashPunteggio& flash, const RigaPartita& riga, Variante variante) {
    _Pannello& p = flash.Pannello();
    const std::string_view stato = riga.StatoInCorso(variante);
    p.SetFTColore(kGialloChiaro);
    p.SetHT("");
    p.SetHTTesto("");
    p.SetScrollTesto(TraCrLf(SquadreInCorso(riga, stato)));
    p.SetTesto(TraCrLf(TestoInCorso(riga, stato)));
    p.SetScrollVerticale(false);
    if (variante == Variante::Solo) p.HTLampeggio();
    const std::string markup = "[14]" + std::string(stato) + " [15]" + std::string(riga.Punteggio()) + " [12]";
    p.SetTestoPic(markup);
    if (stato != "AET" && stato != "POSTP" && stato != "SUSP") flash.Avvia(markup);
}

void ScriviFinita(_Pannello& p, const RigaPartita& riga, Variante variante) {
    const std::string punteggio(TrimSpaces(riga.Punteggio()));
    const std::string_view l = riga.Riga();
    p.SetFTColore(kRossoChiaro);
    p.SetHT("");
    p.SetHTTesto("");
    const auto scriviResto = [&p](std::string_view squadre) {
        ScriviSquadre(p, TraCrLf(squadre));
        p.SetInfoTesto("");
        p.InfoFisso();
    };
    if (StartsWith(l, "PEN")) {
        p.SetTestoPic("[14]PENALTY [15]" + punteggio);
        scriviResto(riga.Squadre(6));
    } else if (StartsWith(l, "POSTP") || (variante == Variante::Slot && StartsWith(l, "SUSP"))) {
        p.SetTestoPic((StartsWith(l, "SUSP") ? "[14]SUSP. [15]" : "[14]POSTP. [15]") + punteggio);
        scriviResto(riga.Squadre(8));
    } else {
        scriviResto(riga.Squadre(4));
        if (variante == Variante::Solo) p.HTFisso();
        p.SetTestoPic("[12]" + std::string(Left(riga.Trim(), 2)) + " [15]" + punteggio);
    }
}

void ScriviIntervallo(_Pannello& p, const RigaPartita& riga) {
    p.SetFT("");
    p.SetFTTesto("");
    ScriviSquadre(p, TraCrLf(riga.Squadre(4)));
    p.SetTestoPic("[14]HT [15]" + std::string(riga.Punteggio()) + " ...");
}

void ScriviNonIniziata(_Pannello& p, const RigaPartita& riga) {
    ScriviSquadre(p, TraCrLf(riga.Corpo()));
    p.SetFTColore(kGialloChiaro);
    p.SetHT("");
    p.SetFTTesto("");
    p.SetHTTesto("");
    p.SetInfoTesto("");
    p.InfoFisso();
    p.SetTestoPic("[14]?-?");
}

}  // namespace

void ScriviPartita(FlashPunteggio& flash, const RigaPartita& riga, Variante variante) {
    switch (riga.Genere(variante)) {
    case GenereRiga::InCorso:
        ScriviInCorso(flash, riga, variante);
        break;
    case GenereRiga::Finita:
        ScriviFinita(flash.Pannello(), riga, variante);
        break;
    case GenereRiga::Intervallo:
        ScriviIntervallo(flash.Pannello(), riga);
        break;
    case GenereRiga::NonIniziata:
        ScriviNonIniziata(flash.Pannello(), riga);
        break;
    case GenereRiga::Vuota:
    case GenereRiga::Intestazione:
        break;
    }
}

}  // namespace caltrix
