#include "TempFolder.h"

#include "common/LineFile.h"

#include <cstdlib>
#include <stdexcept>

namespace caltrix::testing {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "caltrix-acq-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string Fixture(std::string_view name) {
    return ReadWholeFile(std::filesystem::path(CALTRIX_ACQUISITION_FIXTURES) / name);
}

}  // namespace caltrix::testing
