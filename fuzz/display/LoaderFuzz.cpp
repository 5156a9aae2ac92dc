// Feeds arbitrary bytes to the loader's line preparation and checks the
// properties every prepared line has.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "display/LinePreparation.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    const std::string senzaParentesi = caltrix::TogliPar(line);
    Require(senzaParentesi.size() <= line.size());
    Require(caltrix::TogliPar(senzaParentesi) == senzaParentesi);

    const std::string spostata = caltrix::MoveScoreToEnd(line);
    if (spostata != line) Require(spostata.size() >= caltrix::kTeamsWidth);

    const std::string preparata = caltrix::PrepareLine(line);
    Require(preparata.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos);
    return 0;
}
