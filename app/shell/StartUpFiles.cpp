#include "app/shell/StartUpFiles.h"

#include "common/LineFile.h"
#include "common/Text1252.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string_view>
#include <system_error>

namespace caltrix {
namespace {

bool deleteIfReadable(const std::filesystem::path& path) {
    if (!EsisteFile(path)) return false;
    std::error_code error;
    return std::filesystem::remove(path, error);
}

bool isResultFileName(const std::string& upperName) {
    for (const std::string_view stem : {"VIDEO", "LMVIDEO"}) {
        if (!StartsWith(upperName, stem) || upperName.size() <= stem.size() + 4) continue;
        const std::string_view number(upperName.data() + stem.size(), upperName.size() - stem.size() - 4);
        if (upperName.substr(upperName.size() - 4) != ".TXT" || number.empty() || number.size() > 4) continue;
        if (number.front() == '0' || number.find_first_not_of("0123456789") != std::string_view::npos) continue;
        if (std::stoi(std::string(number)) <= 1000) return true;
    }
    return false;
}

}  // namespace

std::filesystem::path SettleWorkFolder(const std::filesystem::path& programFolder,
                                       const std::optional<std::string>& tempValue) {
    if (tempValue && !TrimSpaces(*tempValue).empty()) return std::filesystem::path(*tempValue);
    const auto folder = programFolder / "Temp";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) throw FileError("cannot create work folder " + folder.string());
    return folder;
}

int DeletePreviousRunFiles(const std::filesystem::path& programFolder, const std::filesystem::path& workFolder) {
    int deleted = deleteIfReadable(workFolder / "sport1") ? 1 : 0;
    // One pass over the folder instead of 2000 probes: the result file names
    // are video<n>.txt and lmVideo<n>.txt, n = 1..1000, in any letter case.
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(programFolder, error)) {
        if (isResultFileName(UpperCase1252(entry.path().filename().string())) && deleteIfReadable(entry.path()))
            ++deleted;
    }
    return deleted;
}

void GenerateStartPage(const std::filesystem::path& templatePath, const std::filesystem::path& pagePath) {
    std::string page;
    for (const auto& line : ReadLines(templatePath)) {
        page += Contains(line, "<<") ? std::string("<font face=\"Verdana\">") + kVersionComment : line;
        page += "\r\n";
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
