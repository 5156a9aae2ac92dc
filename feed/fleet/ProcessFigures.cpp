#include "feed/fleet/ProcessFigures.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace caltrix::fleet {
namespace {

struct StatFields {
    double userTicks = 0, systemTicks = 0, startTicks = 0, virtualBytes = 0, residentPages = 0;
};

// /proc/self/stat: fields after the command name, which is in parentheses
// and may hold spaces.
StatFields readStat() {
    std::ifstream in("/proc/self/stat");
    std::string line;
    std::getline(in, line);
    StatFields fields;
    const auto close = line.rfind(')');
    if (close == std::string::npos) return fields;
    std::istringstream rest(line.substr(close + 2));
    std::string field;
    for (int index = 3; rest >> field; ++index) {  // field 3 is the state
        if (index == 14) fields.userTicks = std::stod(field);
        if (index == 15) fields.systemTicks = std::stod(field);
        if (index == 22) fields.startTicks = std::stod(field);
        if (index == 23) fields.virtualBytes = std::stod(field);
        if (index == 24) fields.residentPages = std::stod(field);
    }
    return fields;
}

double bootTimeSeconds() {
    std::ifstream in("/proc/stat");
    std::string key;
    double value = 0;
    while (in >> key) {
        if (key == "btime" && in >> value) return value;
        in.ignore(1 << 20, '\n');
    }
    return 0;
}

double openDescriptors() {
    std::error_code error;
    double count = 0;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++count;
    return count;
}

prometheus::MetricFamily gauge(std::string name, std::string help, double value) {
    prometheus::ClientMetric metric;
    metric.gauge.value = value;
    return {std::move(name), std::move(help), prometheus::MetricType::Gauge, {metric}};
}

}  // namespace

std::vector<prometheus::MetricFamily> ProcessFamilies() {
    const StatFields stat = readStat();
    const double ticks = static_cast<double>(::sysconf(_SC_CLK_TCK));
    const double pageBytes = static_cast<double>(::sysconf(_SC_PAGESIZE));
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);

    prometheus::ClientMetric cpu;
    cpu.counter.value = (stat.userTicks + stat.systemTicks) / ticks;
    return {
        {"process_cpu_seconds_total",
         "Total user and system CPU time spent in seconds.",
         prometheus::MetricType::Counter,
         {cpu}},
        gauge("process_resident_memory_bytes", "Resident memory size in bytes.", stat.residentPages * pageBytes),
        gauge("process_virtual_memory_bytes", "Virtual memory size in bytes.", stat.virtualBytes),
        gauge("process_start_time_seconds", "Start time of the process since unix epoch in seconds.",
              bootTimeSeconds() + stat.startTicks / ticks),
        gauge("process_open_fds", "Number of open file descriptors.", openDescriptors()),
        gauge("process_max_fds", "Maximum number of open file descriptors.", static_cast<double>(limit.rlim_cur)),
    };
}

}  // namespace caltrix::fleet
