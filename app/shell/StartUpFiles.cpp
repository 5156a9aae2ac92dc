#include "app/shell/StartUpFiles.h"

#include "common/FileNames.h"
#include "common/LineFile.h"
#include "common/Text1252.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string_view>
#include <system_error>

namespace caltrix {
namespace {

// Deletes a readable file, and a FIFO, socket or device under the name too:
// left in place, it would make every later write of that file fail.
bool deletePreviousFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!EsisteFile(path) && !std::filesystem::is_other(std::filesystem::status(path, error))) return false;
    return std::filesystem::remove(path, error);
}

}  // namespace

std::filesystem::path SettleWorkFolder(const std::filesystem::path& programFolder,
                                       const std::optional<std::string>& tempValue) {
    if (tempValue && !TrimSpaces(*tempValue).empty()) return std::filesystem::path(*tempValue);
    const auto folder = programFolder / "Temp";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder))
        throw FileError("cannot create work folder " + folder.string());
    return folder;
}

int DeletePreviousRunFiles(const std::filesystem::path& programFolder, const std::filesystem::path& workFolder) {
    int deleted = deletePreviousFile(workFolder / kSavedPageName) ? 1 : 0;
    // One pass over the folder instead of 2000 probes: the result file names
    // are video<n>.txt and lmVideo<n>.txt, n = 1..1000, in any letter case.
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(programFolder, error)) {
        if (IsResultFileName(UpperCase1252(entry.path().filename().string())) && deletePreviousFile(entry.path()))
            ++deleted;
    }
    return deleted;
}

void GenerateStartPage(const std::filesystem::path& templatePath, const std::filesystem::path& pagePath) {
    std::string page;
    for (const auto& line : ReadLines(templatePath)) {
        page += Contains(line, "<<") ? std::string("<font face=\"Verdana\">") + kVersionComment : line;
        page += kLineEnd;
    }
    WriteWholeFile(pagePath, page);
}

InstanceLock::InstanceLock(const std::filesystem::path& lockFile) {
    m_fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    m_locked = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
}

InstanceLock::~InstanceLock() {
    if (m_fd >= 0) ::close(m_fd);
}

}  // namespace caltrix
