// The acquisition's fixture files, read whole.
#pragma once

#include "common/LineFile.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace caltrix::testing {

inline std::string Fixture(std::string_view name) {
    return ReadWholeFile(std::filesystem::path(CALTRIX_ACQUISITION_FIXTURES) / name);
}

}  // namespace caltrix::testing
