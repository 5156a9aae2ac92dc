#include "common/LineFile.h"

#include "common/Slots.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>
#include <algorithm>

#include <climits>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace caltrix {
namespace {

std::string describe(const char* action, const std::filesystem::path& path, std::string_view reason) {
    return std::string(action) + " " + path.string() + ": " + std::string(reason);
}

// A file opened without blocking (a FIFO or a device would otherwise hang the
// open or the first read) and accepted only when it is a regular file.
class RegularFile {
public:
    RegularFile(const std::filesystem::path& path, int flags)
        : m_fd(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666)) {
        if (m_fd < 0) {
            m_problem = std::strerror(errno);
        } else if (::fstat(m_fd, &m_info) != 0) {
            m_problem = std::strerror(errno);
        } else if (!S_ISREG(m_info.st_mode)) {
            m_problem = S_ISDIR(m_info.st_mode) ? "is a folder" : "not a regular file";
        }
    }
    ~RegularFile() { Close(); }
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool ok() const { return m_problem.empty(); }
    const std::string& problem() const { return m_problem; }
    int fd() const { return m_fd; }
    std::size_t size() const { return static_cast<std::size_t>(m_info.st_size); }

    // False when the system reports an error on closing (a delayed write error).
    bool Close() {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
    struct stat m_info {};
    std::string m_problem;
};

}  // namespace

bool EsisteFile(const std::filesystem::path& path) { return RegularFile(path, O_RDONLY).ok(); }

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::string ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    RegularFile file(path, O_RDONLY);
    if (!file.ok()) throw FileError(describe("cannot open", path, file.problem()));
    if (file.size() > maxBytes) {
        throw FileError(describe("cannot read", path, "larger than " + std::to_string(maxBytes) + " bytes"));
    }
    std::string bytes(file.size(), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.fd(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw FileError(describe("cannot read", path, std::strerror(errno)));
        if (got == 0) break;  // the file shrank since it was opened
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

FileBytes::FileBytes(const std::filesystem::path& path) {
    constexpr std::size_t kMappedFrom = 1024 * 1024;
    RegularFile file(path, O_RDONLY);
    if (!file.ok()) throw FileError(describe("cannot open", path, file.problem()));
    if (file.size() < kMappedFrom) {
        file.Close();
        m_copy = ReadWholeFile(path);
        return;
    }
    // Populated at once: one call instead of a fault for every few pages.
    void* data = ::mmap(nullptr, file.size(), PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.fd(), 0);
    if (data == MAP_FAILED) throw FileError(describe("cannot read", path, std::strerror(errno)));
    m_mapped = static_cast<const char*>(data);
    m_size = file.size();
}

FileBytes::~FileBytes() {
    if (m_mapped != nullptr) ::munmap(const_cast<char*>(m_mapped), m_size);
}

std::vector<std::string> ReadLines(const std::filesystem::path& path, std::size_t maxBytes) {
    return SplitLines(ReadWholeFile(path, maxBytes));
}

namespace {

// Writes the pieces to `path`, created anew, with as few calls as the system allows.
void WritePieces(const std::filesystem::path& path, std::span<const std::string_view> pieces) {
    RegularFile file(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (!file.ok()) throw FileError(describe("cannot create", path, file.problem()));
    std::vector<iovec> vectors;
    vectors.reserve(std::min<std::size_t>(pieces.size(), IOV_MAX));
    for (std::size_t next = 0; next < pieces.size();) {
        vectors.clear();
        for (; next < pieces.size() && vectors.size() < IOV_MAX; ++next) {
            if (!pieces[next].empty()) vectors.push_back({const_cast<char*>(pieces[next].data()), pieces[next].size()});
        }
        for (std::size_t done = 0; done < vectors.size();) {
            const ssize_t put = ::writev(file.fd(), vectors.data() + done, static_cast<int>(vectors.size() - done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0)
                throw FileError(describe("cannot write", path, put < 0 ? std::strerror(errno) : "nothing written"));
            // Skip what was written: whole pieces, then the written part of the next one.
            auto left = static_cast<std::size_t>(put);
            for (; done < vectors.size() && left >= vectors[done].iov_len; ++done) left -= vectors[done].iov_len;
            if (left > 0) {
                vectors[done].iov_base = static_cast<char*>(vectors[done].iov_base) + left;
                vectors[done].iov_len -= left;
            }
        }
    }
    if (!file.Close()) throw FileError(describe("cannot write", path, std::strerror(errno)));
}

}  // namespace

void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    WritePieces(path, std::span(&bytes, 1));
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    WriteFileAtomically(path, std::span(&bytes, 1));
}

void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) {
    auto temporary = path;
    temporary += ".tmp";
    WritePieces(temporary, pieces);
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw FileError("cannot rename over " + path.string());
    }
}

void DeleteFileIfPresent(const std::filesystem::path& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        throw FileError(describe("cannot delete", path, std::strerror(errno)));
}

}  // namespace caltrix
