#include "app/shell/EngineFlags.h"

#include <QFile>

#include <algorithm>
#include <unistd.h>

namespace caltrix {
namespace {

QByteArray flagName(const QByteArray& flag) {
    const qsizetype equals = flag.indexOf('=');
    return equals < 0 ? flag : flag.left(equals);
}

QString gigabytes(std::uint64_t bytes) { return QString::number(bytes / 1073741824.0, 'f', 1) + QStringLiteral(" GB"); }

std::uint64_t limitIn(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return UINT64_MAX;
    bool ok = false;
    const std::uint64_t limit = file.readAll().trimmed().toULongLong(&ok);
    return ok ? limit : UINT64_MAX;  // "max" (v2) means none; v1 writes a huge number for none
}

// The lowest memory limit of the program's control group and the groups
// above it: cgroup v2's "memory.max" or cgroup v1's "memory.limit_in_bytes".
std::uint64_t controlGroupLimit() {
    QFile groups(QStringLiteral("/proc/self/cgroup"));
    if (!groups.open(QIODevice::ReadOnly)) return UINT64_MAX;
    std::uint64_t lowest = UINT64_MAX;
    for (const QByteArray& line : groups.readAll().split('\n')) {
        const QByteArrayList fields = line.split(':');  // id:controllers:path
        if (fields.size() != 3) continue;
        const bool v2 = fields[0] == "0" && fields[1].isEmpty();
        if (!v2 && !fields[1].split(',').contains("memory")) continue;
        const QString base = v2 ? QStringLiteral("/sys/fs/cgroup") : QStringLiteral("/sys/fs/cgroup/memory");
        const QString file = v2 ? QStringLiteral("/memory.max") : QStringLiteral("/memory.limit_in_bytes");
        for (QString group = QString::fromLocal8Bit(fields[2]);; group = group.section(QLatin1Char('/'), 0, -2)) {
            lowest = std::min(lowest, limitIn(base + group + file));
            if (group.isEmpty() || group == QLatin1String("/")) break;
        }
    }
    return lowest;
}

}  // namespace

MemoryDecision DecideMemoryMode(MemoryMode mode, std::uint64_t availableBytes) {
    switch (mode) {
    case MemoryMode::Low:
        return {true, QStringLiteral("--low-memory")};
    case MemoryMode::Normal:
        return {false, QStringLiteral("--no-low-memory")};
    case MemoryMode::Automatic:
        break;
    }
    const bool low = availableBytes < kLowMemoryBelowBytes;
    return {low, QStringLiteral("%1 of memory to use, %2 2 GB")
                     .arg(gigabytes(availableBytes), low ? QStringLiteral("less than") : QStringLiteral("at least"))};
}

std::uint64_t MachineMemoryBytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const std::uint64_t physical = pages > 0 && pageSize > 0
                                       ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize)
                                       : UINT64_MAX;
    return std::min(physical, controlGroupLimit());
}

QByteArrayList EngineFlags(bool lowMemory, bool sandboxed) {
    if (!lowMemory) return {"--disable-gpu", "--renderer-process-limit=2", "--disable-background-networking"};
    QByteArrayList flags{"--disable-gpu", "--renderer-process-limit=1", "--disable-background-networking",
                         // The engine's profile for small devices: smaller
                         // caches and tiles, memory given back sooner.
                         "--enable-low-end-device-mode",
                         // The pages are a start page and banners: a small script heap.
                         "--js-flags=--max-old-space-size=48"};
    if (!sandboxed) flags << "--no-zygote";
    return flags;
}

bool EngineSandboxed(const QByteArray& flags) {
    return qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX") && !flags.split(' ').contains("--no-sandbox");
}

QByteArray ComposeEngineFlags(const QByteArray& userFlags, const QByteArrayList& programFlags) {
    QByteArrayList flags = userFlags.simplified().split(' ');
    flags.removeAll(QByteArray());
    QByteArrayList userNames;
    for (const QByteArray& flag : flags) userNames << flagName(flag);
    for (const QByteArray& flag : programFlags)
        if (!userNames.contains(flagName(flag))) flags << flag;
    return flags.join(' ');
}

}  // namespace caltrix
