// Line-oriented files of Windows-1252 text with CR LF line ends.
#pragma once

#include "common/LineText.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace caltrix {

// A file operation that failed; the message names the file.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every open below accepts regular files only and never blocks: a FIFO, a
// device or a folder under the name is an error (for EsisteFile: false).

// True when `path` is a regular file that can be opened for reading (false
// for a folder, a FIFO, a missing file or one without read permission).
// Never throws.
bool EsisteFile(const std::filesystem::path& path);

// The lines of `text`, as ForEachLine gives them.
std::vector<std::string> SplitLines(std::string_view text);

inline constexpr std::size_t kAnySize = SIZE_MAX;

// The whole file as bytes; throws FileError when it cannot be read or is
// larger than `maxBytes`.
std::string ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes = kAnySize);

// A regular file's bytes, for reading a large file without copying it: a
// large file is mapped read-only, a small one read (mapping costs more than
// copying a few pages). A mapped file must not shrink while it is open (the
// system would stop the program on reading the lost part): open only the
// program's own files. Throws FileError when the file cannot be read.
class FileBytes {
public:
    explicit FileBytes(const std::filesystem::path& path);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    std::string_view bytes() const { return m_mapped != nullptr ? std::string_view(m_mapped, m_size) : m_copy; }

private:
    const char* m_mapped = nullptr;
    std::size_t m_size = 0;
    std::string m_copy;
};

// The file's lines as SplitLines gives them; throws FileError.
std::vector<std::string> ReadLines(const std::filesystem::path& path, std::size_t maxBytes = kAnySize);

// Creates (truncates) the file and writes `bytes`; throws FileError.
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

// Writes through a temporary file in the same folder and renames it over
// `path`, so a reader sees either the old or the new content; throws FileError.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);
// The same for content given in pieces, written one after the other.
void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces);

// Deletes the file when it exists; throws FileError when it cannot.
void DeleteFileIfPresent(const std::filesystem::path& path);

}  // namespace caltrix
