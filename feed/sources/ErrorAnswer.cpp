#include "feed/sources/ErrorAnswer.h"

#include "feed/sources/ReaderSupport.h"

#include <QJsonDocument>
#include <QString>

namespace caltrix::feed {
namespace {

std::string messageOf(const QByteArray& body) {
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (document.isObject()) {
        const QJsonObject object = document.object();
        for (const char* name : {"message", "error", "errors"})
            if (std::string text = ProviderMessages(object[key(name)]); !text.empty()) return text;
        return {};
    }
    return body.trimmed().toStdString();
}

Refusal refusalOf(int httpStatus, const std::string& message) {
    const QString text = QString::fromStdString(message);
    const bool aboutTheKey = text.contains(QLatin1String("token"), Qt::CaseInsensitive) &&
                             !text.contains(QLatin1String("restricted"), Qt::CaseInsensitive);
    if (httpStatus == 401 || ((httpStatus == 400 || httpStatus == 403) && aboutTheKey)) return Refusal::Key;
    if (httpStatus == 403) return Refusal::Plan;
    if (httpStatus == 429) return Refusal::RateLimit;
    return Refusal::Other;
}

}  // namespace

SourceResult ReadErrorAnswer(int httpStatus, const QByteArray& body, bool keySent) {
    SourceResult result;
    const std::string message = messageOf(body);
    result.refusal = refusalOf(httpStatus, message);
    if (!keySent && (result.refusal == Refusal::Key || result.refusal == Refusal::Plan))
        result.refusal = Refusal::Other;
    const std::string status = "HTTP " + std::to_string(httpStatus);
    result.error = result.refusal == Refusal::Other ? status : RefusalText(result.refusal) + " (" + status + ")";
    if (!message.empty()) result.error += ": " + Quoted(message);
    return result;
}

}  // namespace caltrix::feed
