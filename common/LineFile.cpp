#include "common/LineFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace caltrix {
namespace {

std::string describe(const char* action, const std::filesystem::path& path) {
    return std::string(action) + " " + path.string() + ": " + std::strerror(errno);
}

}  // namespace

bool EsisteFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    const bool isFile = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return isFile;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in || !EsisteFile(path)) throw FileError(describe("cannot open", path));
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in) throw FileError(describe("cannot read", path));
    return bytes;
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    return SplitLines(ReadWholeFile(path));
}

void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError(describe("cannot create", path));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw FileError(describe("cannot write", path));
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    auto temporary = path;
    temporary += ".tmp";
    WriteWholeFile(temporary, bytes);
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw FileError("cannot rename over " + path.string());
    }
}

void DeleteFileIfPresent(const std::filesystem::path& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw FileError(describe("cannot delete", path));
}

}  // namespace caltrix
