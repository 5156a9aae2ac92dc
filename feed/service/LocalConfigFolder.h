// An operator's folder served as the configuration endpoint's /public/:
// config.txt and the banner pages. Each file is read at each request, so
// editing config.txt steers the screen at its next cycle.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace caltrix::feed {

class LocalConfigFolder {
public:
    static constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

    explicit LocalConfigFolder(QString folder) : m_folder(std::move(folder)) {}

    // The file's bytes; nothing for names that are not plain file names
    // (no folders, no leading dot), for anything but a regular file, and for
    // files over the size cap.
    std::optional<QByteArray> Read(const QString& name) const;

private:
    QString m_folder;
};

}  // namespace caltrix::feed
