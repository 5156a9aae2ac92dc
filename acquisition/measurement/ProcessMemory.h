// Memory figures of running processes, from /proc, for the measurement
// programs.
#pragma once

#include <fstream>
#include <string>

namespace caltrix::tools {

// A field of /proc/<pid>/smaps_rollup in kB ("Rss:", "Pss:").
inline long RollupKb(int pid, const std::string& field) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    for (std::string line; std::getline(rollup, line);) {
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
    }
    return 0;
}

}  // namespace caltrix::tools
