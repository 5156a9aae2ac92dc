#include "common/qt/HttpAddress.h"

namespace caltrix {

std::optional<QUrl> HttpAddress(const QString& text) {
    const QString trimmed = text.trimmed();
    // Without "://" the whole text is the host and path, whatever colons it holds.
    const QUrl url(trimmed.contains(QLatin1String("://")) ? trimmed : QStringLiteral("http://") + trimmed,
                   QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) || url.host().isEmpty())
        return std::nullopt;
    return url;
}

}  // namespace caltrix
