// The web engine's command-line flags and the low-memory mode, decided before
// the application object exists.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <cstdint>

namespace caltrix {

// Machines with less memory than this run in low-memory mode by themselves.
constexpr std::uint64_t kLowMemoryBelowBytes = 2ull * 1024 * 1024 * 1024;

enum class MemoryMode { Automatic, Low, Normal };

struct MemoryDecision {
    bool low = false;
    QString reason;  // for the log line: why the mode is on or off
};

// --low-memory and --no-low-memory decide; without either, a machine (or the
// control group the program runs in) with less than 2 GB runs low.
MemoryDecision DecideMemoryMode(MemoryMode mode, std::uint64_t availableBytes);

// The smaller of the machine's memory and the control group's limit, if any.
std::uint64_t MachineMemoryBytes();

// The flags the program wants, for either mode. Without the sandbox (as
// root, or where the operator turned it off) the low-memory mode also starts
// renderers without the engine's two zygote processes, which the sandbox needs.
QByteArrayList EngineFlags(bool lowMemory, bool sandboxed = true);

// Whether the engine will run its sandbox, from its environment variable and
// the flags it will be given.
bool EngineSandboxed(const QByteArray& flags);

// The user's own QTWEBENGINE_CHROMIUM_FLAGS with the program's added; a flag
// the user already set (by name, whatever its value) keeps the user's value.
QByteArray ComposeEngineFlags(const QByteArray& userFlags, const QByteArrayList& programFlags);

}  // namespace caltrix
