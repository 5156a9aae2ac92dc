// The fleet's state on disk (--state DIR), so that a restarted feed server
// knows every screen: <name>.json holds a screen's latest report and
// <name>.jpg its latest picture, each file's time the time it came. Files are
// written by a thread of their own, whole (a temporary file renamed over the
// old one), so request threads never wait for a disk and a reader never sees
// half a file.
#pragma once

#include "feed/fleet/FleetRegistry.h"

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace caltrix::fleet {

using LogLine = std::function<void(const std::string&)>;

class StateFolder {
public:
    // Creates the folder when missing; throws std::runtime_error when it cannot.
    StateFolder(std::filesystem::path folder, LogLine log);
    ~StateFolder();  // writes what waits, then stops

    // Fills the registry with the reports and pictures kept, each report
    // checked again; a file that does not pass is left out with a log line.
    void LoadInto(FleetRegistry& registry, const StatusSchema& schema) const;

    void SaveReport(const std::string& name, const std::shared_ptr<const StatusReport>& report, TimePoint time);
    void SavePicture(const std::string& name, std::shared_ptr<const std::string> jpeg, TimePoint time);
    void Remove(const std::string& name);
    // Returns once everything asked for so far is on disk.
    void Flush();

private:
    struct Pending {
        std::shared_ptr<const std::string> content;  // null: delete the file
        TimePoint time;
    };

    void enqueue(const std::string& file, Pending pending);
    void run();
    void apply(const std::string& file, const Pending& pending);

    std::filesystem::path m_folder;
    LogLine m_log;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, Pending> m_pending;  // by file name: only the latest content of a file is written
    bool m_writing = false;
    bool m_stopping = false;
    std::string m_lastProblem;  // the writer's: one log line per change of problem
    std::thread m_writer;
};

}  // namespace caltrix::fleet
