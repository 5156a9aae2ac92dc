#include "feed/service/LocalConfigFolder.h"

#include "feed/service/FeedLogging.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace caltrix::feed {

std::optional<QByteArray> LocalConfigFolder::Read(const QString& name) const {
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_.-]*$"));
    if (!plainName.match(name).hasMatch()) return std::nullopt;
    const QFileInfo info(m_folder + QLatin1Char('/') + name);
    if (info.isSymLink() || !info.isFile()) return std::nullopt;
    if (info.size() > kMaxFileBytes) {
        qCWarning(lcFeed).noquote() << QStringLiteral("local configuration: %1 is over %2 bytes, not served")
                                           .arg(info.filePath())
                                           .arg(kMaxFileBytes);
        return std::nullopt;
    }
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcFeed).noquote() << QStringLiteral("local configuration: cannot read %1").arg(info.filePath());
        return std::nullopt;
    }
    return file.read(kMaxFileBytes);
}

}  // namespace caltrix::feed
