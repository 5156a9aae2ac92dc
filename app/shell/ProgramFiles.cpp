#include "app/shell/ProgramFiles.h"

#include "common/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace caltrix {
namespace {

QString firstExisting(const QStringList& candidates) {
    for (const QString& candidate : candidates)
        if (QFileInfo::exists(candidate)) return QDir::cleanPath(candidate);
    return QDir::cleanPath(candidates.front());
}

}  // namespace

QString ShippedDataFolder(const QString& executableFolder) {
    if (QFileInfo::exists(executableFolder + QLatin1Char('/') + QLatin1StringView(kStartPageTemplateName)))
        return executableFolder;
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/caltrix"));
}

// The build folder holds the library beside the program; an installed program
// finds it under the library folder it was installed with (on Debian the
// architecture's own, such as lib/aarch64-linux-gnu).
QString PanelLibraryPath(const QString& executableFolder) {
    return firstExisting({executableFolder + QStringLiteral("/libPannello.so"),
                          executableFolder + QLatin1String("/../" CALTRIX_INSTALL_LIBDIR "/caltrix/libPannello.so"),
                          executableFolder + QStringLiteral("/../lib/caltrix/libPannello.so")});
}

bool SeedProgramFolder(const QString& programFolder, const QString& shippedFolder, QString& problem) {
    if (!QDir().mkpath(programFolder)) {
        problem = QStringLiteral("cannot create the program folder ") + programFolder;
        return false;
    }
    if (QDir(programFolder) == QDir(shippedFolder)) return true;
    for (const std::string_view name : kShippedFiles) {
        const QString target = programFolder + QLatin1Char('/') + QLatin1StringView(name);
        if (!QFileInfo::exists(target)) QFile::copy(shippedFolder + QLatin1Char('/') + QLatin1StringView(name), target);
    }
    return true;
}

}  // namespace caltrix
