// The standard process_* figures of the running process, from /proc.
#pragma once

#include <prometheus/metric_family.h>

#include <vector>

namespace caltrix::fleet {

// process_cpu_seconds_total, process_resident_memory_bytes,
// process_virtual_memory_bytes, process_start_time_seconds,
// process_open_fds and process_max_fds, as Prometheus's client libraries
// name them.
std::vector<prometheus::MetricFamily> ProcessFamilies();

}  // namespace caltrix::fleet
