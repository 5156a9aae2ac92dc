// Writes a moment of the simulated match day in the match JSON format, for the schema check.
#include "feed/sources/MatchJsonReader.h"
#include "feed/sources/SimulatedMatchDay.h"

#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const QByteArray json = caltrix::feed::WriteMatchJson(caltrix::feed::SimulatedMatchDay().ModelAt(150));
    std::ofstream(argv[1], std::ios::binary) << json.toStdString();
    return 0;
}
