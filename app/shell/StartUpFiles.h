// Files the program settles at start-up: the work folder, the previous run's
// result files, the main browser's start page, and the one-instance check.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace caltrix {

// The work folder: the TEMP value unchanged, or <program folder>/Temp when
// that value is empty after trimming blanks (created when missing).
// Throws FileError when the Temp folder cannot be created.
std::filesystem::path SettleWorkFolder(const std::filesystem::path& programFolder,
                                       const std::optional<std::string>& tempValue);

// Deletes the saved page sport1 in the work folder, then video<n>.txt and
// lmVideo<n>.txt (any letter case of the stem) for n = 1..1000 in the program
// folder and the same names with ".tmp" appended (left by an interrupted
// write), each when it can be opened for reading or is a FIFO, socket or
// device. Returns how many files
// were deleted; a file that cannot be deleted is left in place.
int DeletePreviousRunFiles(const std::filesystem::path& programFolder, const std::filesystem::path& workFolder);

// The program's version comment.
inline constexpr const char* kVersionComment = "Lumetra 0.1 Beta";

// Writes the start page from its template: a line that contains "<<" is
// replaced as a whole by the Verdana font start tag and the version comment;
// every other line is copied; every written line ends with CR LF. Throws
// FileError when the template cannot be read or the page cannot be written.
void GenerateStartPage(const std::filesystem::path& templatePath, const std::filesystem::path& pagePath);

// Holds an exclusive lock on a file for as long as it lives. Another process
// (or another holder in this one) that tries the same file learns that an
// instance is running. The system releases the lock when a process dies.
class InstanceLock {
public:
    explicit InstanceLock(const std::filesystem::path& lockFile);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this holder has the lock, that is no other instance runs.
    bool IsFirstInstance() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = false;
};

}  // namespace caltrix
