#include "feed/fleet/StateFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace caltrix::fleet {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

TimePoint modificationTime(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    return TimePoint(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(info.st_mtim.tv_sec) +
                                                                 std::chrono::nanoseconds(info.st_mtim.tv_nsec)));
}

// Writes `content` to a temporary file beside `path`, on disk, with `time`
// as its modification time, then renames it over `path`. Empty on success,
// otherwise what failed.
std::string writeWhole(const fs::path& path, const std::string& content, TimePoint time) {
    const fs::path temporary = path.parent_path() / ("." + path.filename().string() + ".tmp");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0640);
    if (fd < 0) return std::strerror(errno);
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    const timespec times[2] = {{sinceEpoch / 1000000000, sinceEpoch % 1000000000},
                               {sinceEpoch / 1000000000, sinceEpoch % 1000000000}};
    const bool ok = written == content.size() && ::futimens(fd, times) == 0 && ::fdatasync(fd) == 0;
    const std::string error = ok ? std::string() : std::strerror(errno ? errno : EIO);
    ::close(fd);
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string why = ok ? std::strerror(errno) : error;
        ::unlink(temporary.c_str());
        return why;
    }
    return {};
}

}  // namespace

StateFolder::StateFolder(fs::path folder, LogLine log) : m_folder(std::move(folder)), m_log(std::move(log)) {
    std::error_code error;
    fs::create_directories(m_folder, error);
    if (!fs::is_directory(m_folder))
        throw std::runtime_error("cannot use the state folder " + m_folder.string() + ": " + error.message());
    m_writer = std::thread([this] { run(); });
}

StateFolder::~StateFolder() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_writer.join();
}

void StateFolder::LoadInto(FleetRegistry& registry, const StatusSchema& schema) const {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(m_folder, error)) {
        const fs::path& path = entry.path();
        const std::string name = path.stem().string();
        std::error_code ignored;
        if (path.extension() != ".json" || !IsScreenName(name) || !entry.is_regular_file(ignored)) continue;
        std::string problem;
        const auto document = readWhole(path);
        auto report = document ? schema.Read(*document, problem) : nullptr;
        if (!report) {
            m_log("state folder: " + path.string() + " left out: " + (document ? problem : "cannot be read"));
            continue;
        }
        ScreenView screen{name, std::move(report), modificationTime(path), nullptr, {}, false};
        const fs::path picturePath = m_folder / (name + ".jpg");
        if (auto picture = readWhole(picturePath)) {
            screen.picture = std::make_shared<const std::string>(std::move(*picture));
            screen.pictureTime = modificationTime(picturePath);
        }
        registry.Restore(std::move(screen));
    }
}

void StateFolder::SaveReport(const std::string& name, const std::shared_ptr<const StatusReport>& report,
                             TimePoint time) {
    // The report's document lives as long as the report.
    enqueue(name + ".json", {std::shared_ptr<const std::string>(report, &report->document), time});
}

void StateFolder::SavePicture(const std::string& name, std::shared_ptr<const std::string> jpeg, TimePoint time) {
    enqueue(name + ".jpg", {std::move(jpeg), time});
}

void StateFolder::Remove(const std::string& name) {
    enqueue(name + ".json", {nullptr, {}});
    enqueue(name + ".jpg", {nullptr, {}});
}

void StateFolder::Flush() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_pending.empty() && !m_writing; });
}

void StateFolder::enqueue(const std::string& file, Pending pending) {
    {
        const std::lock_guard lock(m_mutex);
        m_pending[file] = std::move(pending);
    }
    m_changed.notify_all();
}

void StateFolder::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_pending.empty(); });
        if (m_pending.empty()) return;  // stopping, and everything is written
        auto next = m_pending.extract(m_pending.begin());
        m_writing = true;
        lock.unlock();
        apply(next.key(), next.mapped());
        lock.lock();
        m_writing = false;
        m_changed.notify_all();
    }
}

void StateFolder::apply(const std::string& file, const Pending& pending) {
    const fs::path path = m_folder / file;
    if (!pending.content) {
        std::error_code ignored;
        fs::remove(path, ignored);
        return;
    }
    const std::string error = writeWhole(path, *pending.content, pending.time);
    if (error == m_lastProblem) return;
    m_log(error.empty() ? "state folder: " + m_folder.string() + " written again"
                        : "state folder: cannot write " + path.string() + ": " + error);
    m_lastProblem = error;
}

}  // namespace caltrix::fleet
