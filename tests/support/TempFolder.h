// A fresh folder under the system's temporary folder, removed with its content
// when the object goes. Plain C++; Qt tests also get its paths as QString.
#pragma once

#include <filesystem>
#include <string_view>

#ifdef QT_CORE_LIB
#include <QString>
#endif

namespace caltrix::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

#ifdef QT_CORE_LIB
    // The folder, or `name` inside it.
    QString qtPath(const QString& name = {}) const {
        const QString folder = QString::fromStdString(m_path.string());
        return name.isEmpty() ? folder : folder + QLatin1Char('/') + name;
    }
#endif

private:
    std::filesystem::path m_path;
};

}  // namespace caltrix::testing
