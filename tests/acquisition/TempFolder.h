// A fresh folder under the system's temporary folder, removed with its content.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace caltrix::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// The fixture file's bytes.
std::string Fixture(std::string_view name);

}  // namespace caltrix::testing
