// The slot file loader: every call takes the next slot file
// lmVideo<N>.txt of the program folder (N = 1..11, then 0) and stores its
// prepared lines in that slot's list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "display/RigheVideo.h"

namespace caltrix {

class SlotFileLoader {
public:
    SlotFileLoader(std::filesystem::path programFolder, RigheVideo& lines);

    // Told after each load of slot k, with the lines the load replaced and,
    // for each new line, where its sides' "-" stands (SidesDash).
    using LoadListener = std::function<void(int slot, const std::vector<std::string>& replaced,
                                            const std::vector<std::size_t>& sidesDashes)>;
    void SetLoadListener(LoadListener listener) { m_listener = std::move(listener); }

    // Advances NumeroVideo (1..11, then 0, then 1 ...) and loads that file when
    // it exists. Returns a message when an existing file could not be read; the
    // load is then skipped and the slot keeps its previous lines.
    std::optional<std::string> CaricaProssimoVideo();

    // A slot file is a few kilobytes; a larger one is not a result file.
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

    // Loads lmVideo<number>.txt: numbers 1..11 replace that slot's lines (an
    // empty file changes nothing), any other number reads and drops them.
    // Returns a message when the file cannot be read, is not a regular file or
    // is larger than kMaxFileBytes; nothing is changed then.
    std::optional<std::string> CaricaVideo(std::int16_t number);

    std::int16_t NumeroVideo() const { return m_numeroVideo; }
    std::filesystem::path FilePath(std::int16_t number) const;

private:
    std::filesystem::path m_folder;
    RigheVideo& m_lines;
    std::int16_t m_numeroVideo = 0;
    LoadListener m_listener;
};

}  // namespace caltrix
