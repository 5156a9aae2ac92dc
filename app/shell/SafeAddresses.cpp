#include "app/shell/SafeAddresses.h"

#include "common/WebAddresses.h"
#include "common/qt/HttpAddress.h"
#include "acquisition/qt/AcquisitionLogging.h"
#include "app/logging/AppLogging.h"

#include <QWebEngineView>

namespace caltrix {
namespace {

const QString kPublicFolderPath = QLatin1StringView(kPublicFolder);

// The path with every layer of percent-encoding removed, so "%2e%2e" and
// "%252e%252e" show as "..".
QString FullyDecodedPath(const QUrl& url) {
    QString path = url.path(QUrl::FullyEncoded);
    for (int layer = 0; layer < 8; ++layer) {
        const QString decoded = QUrl::fromPercentEncoding(path.toUtf8());
        if (decoded == path) break;
        path = decoded;
    }
    return path;
}

bool StaysInPublicFolder(const QString& decodedPath) {
    if (!decodedPath.startsWith(kPublicFolderPath) || decodedPath.contains(QLatin1Char('\\'))) return false;
    const QStringList segments = decodedPath.split(QLatin1Char('/'));
    return !segments.contains(QStringLiteral("..")) && !segments.contains(QStringLiteral("."));
}

}  // namespace

std::optional<QUrl> BannerAddress(const QUrl& endpoint, const QString& page) {
    const QUrl relative(page, QUrl::TolerantMode);
    QUrl folder = endpoint;
    folder.setPath(kPublicFolderPath);
    folder.setQuery(QString());
    folder.setFragment(QString());
    const QUrl address = folder.resolved(relative);
    const bool sameEndpoint = (relative.isEmpty() || relative.isValid()) && relative.isRelative() &&
                              relative.authority().isEmpty() && !page.startsWith(QLatin1Char('/')) &&
                              address.scheme() == endpoint.scheme() && address.authority() == endpoint.authority();
    if (!sameEndpoint || !StaysInPublicFolder(FullyDecodedPath(address))) {
        qCWarning(lcCycle) << "banner page refused, it would leave" << folder.toDisplayString() << ":" << page;
        return std::nullopt;
    }
    return address;
}

bool OpenLinkTarget(QWebEngineView* browser, const QString& target) {
    const std::optional<QUrl> address = HttpAddress(target);
    if (!address) {
        qCWarning(lcShell) << "link target refused (only http and https addresses are opened):" << target;
        return false;
    }
    browser->setUrl(*address);
    return true;
}

}  // namespace caltrix
