// Addresses that the remote configuration may point browsers at. The
// configuration travels over plain HTTP, so its values are checked before
// any browser follows them.
#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class QWebEngineView;

namespace caltrix {

// The address of banner page `page` under /public/ on the operator's
// endpoint, or nothing (with a log line) when the value would leave
// /public/ or the endpoint: another scheme or host, "..", backslashes, or
// the same hidden behind percent-encoding.
std::optional<QUrl> BannerAddress(const QUrl& endpoint, const QString& page);

// Shows `target`'s link address in `browser`; when it has none, logs the
// refusal and leaves the browser alone. Returns whether it navigated.
bool OpenLinkTarget(QWebEngineView* browser, const QString& target);

}  // namespace caltrix
