// The closing step of a parse: the result text goes to a new combined result
// file and from there into the eleven slot files.
#pragma once

#include "acquisition/ResultFiles.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace caltrix {

// The first of video1.txt..video1000.txt that does not exist; when all do,
// the one written longest ago, so a run of any length keeps going.
std::filesystem::path ChooseCombinedFile(const std::filesystem::path& programFolder);

// Writes `closedText` and CR LF to a new combined file, rewrites every slot
// file from that content and deletes the saved page. A failure starts the
// whole write again once on the next free combined file; a second failure throws
// (FileError). Each file is replaced whole, so a reader never sees half of
// one. Returns the combined file written.
std::filesystem::path WriteResultFiles(std::string closedText, const std::array<std::string, kSlotCount>& selections,
                                       const std::filesystem::path& programFolder,
                                       const std::filesystem::path& savedPage);

}  // namespace caltrix
