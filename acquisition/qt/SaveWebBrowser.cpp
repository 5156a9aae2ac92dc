#include "acquisition/qt/SaveWebBrowser.h"

#include "common/LineFile.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <memory>
#include <string>

namespace caltrix {
namespace {

// How long the renderer may take to serialise a page. Not scaled by the time
// scale: the work depends on the page's size, not on the program's clock.
constexpr int kSerialiseTimeoutMs = 20000;

// The serialised markup waits in this variable of the application world
// while it is fetched in pieces of this many characters. Small enough that
// every buffer a piece passes through on the user-interface thread stays
// below the allocator's threshold for blocks of their own, so the pieces
// reuse memory instead of faulting in fresh pages: a few milliseconds each.
const QString kMarkupVariable = QStringLiteral("window.caltrixSavedMarkup");
constexpr qint64 kPieceCharacters = 32 * 1024;

// The largest page taken: generous for a live-score page, finite for a site
// that answers with something else.
constexpr qint64 kMaxPageCharacters = 32 * 1024 * 1024;

QString ClassicMarkupScript() {
    QFile file(QStringLiteral(":/caltrix/acquisition/ClassicMarkup.js"));
    if (!file.open(QIODevice::ReadOnly)) throw SaveError("the page serialiser is missing from the program");
    return QString::fromUtf8(file.readAll());
}

// Runs `script` in the page's application world (which keeps the page's own
// scripts away from ours; the document is the same) and waits for its answer
// in a local event loop until `deadline`. Throws SaveError when no answer
// came in time or the renderer died.
QVariant RunAndWait(QWebEnginePage& browser, const QString& script, const QDeadlineTimer& deadline) {
    // Shared with the callback, which may still come after this function
    // has given up waiting.
    struct Answer {
        bool arrived = false;
        QVariant value;
    };
    auto answer = std::make_shared<Answer>();
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&browser, &QWebEnginePage::renderProcessTerminated, &loop, &QEventLoop::quit);
    QPointer<QEventLoop> waiting(&loop);
    browser.runJavaScript(script, QWebEngineScript::ApplicationWorld, [answer, waiting](const QVariant& value) {
        answer->arrived = true;
        answer->value = value;
        if (waiting) waiting->quit();
    });
    if (!answer->arrived && !deadline.hasExpired()) {
        timeout.start(std::chrono::milliseconds(deadline.remainingTime()));
        loop.exec();
    }
    if (!answer->arrived) throw SaveError("the browser did not hand over its document");
    return answer->value;
}

// Serialises the document in the page into a variable of the application
// world and answers with its length (or the serialiser's false / null).
QString SerialiseIntoVariable(bool wholeDocument) {
    static const QString script = ClassicMarkupScript();
    return QStringLiteral(
               "(() => { const markup = %1(%2); if (typeof markup !== 'string') return markup; "
               "%3 = markup; return markup.length; })()")
        .arg(script, wholeDocument ? QStringLiteral("true") : QStringLiteral("false"), kMarkupVariable);
}

// Runs the serialiser in the page, then fetches its markup piece by piece:
// a large page never crosses from the renderer as one message, so the user
// interface only ever converts a small piece at a time and the engine's
// message buffers stay small. The answer is a string of Windows-1252 bytes,
// one per character.
std::string SerialiseDocument(QWebEnginePage& browser, bool wholeDocument) {
    const QDeadlineTimer deadline(kSerialiseTimeoutMs);
    const QVariant length = RunAndWait(browser, SerialiseIntoVariable(wholeDocument), deadline);
    if (length.typeId() == QMetaType::Bool) throw SaveError("the browser shows its error page");
    if (length.typeId() != QMetaType::Double && length.typeId() != QMetaType::Int) {
        throw SaveError("the browser has no document");
    }
    const qint64 total = length.toLongLong();
    if (total > kMaxPageCharacters)
        throw SaveError("the page has " + std::to_string(total) + " characters, more than the 32 MiB taken");
    std::string markup;
    markup.reserve(static_cast<std::size_t>(total));
    for (qint64 offset = 0; offset < total; offset += kPieceCharacters) {
        const QVariant piece = RunAndWait(
            browser, QStringLiteral("%1.substr(%2, %3)").arg(kMarkupVariable).arg(offset).arg(kPieceCharacters),
            deadline);
        if (piece.typeId() != QMetaType::QString)
            throw SaveError("the browser lost its document while handing it over");
        const QByteArray bytes = piece.toString().toLatin1();
        markup.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    // The page is not waited for: its copy is only released.
    browser.runJavaScript(QStringLiteral("%1 = undefined").arg(kMarkupVariable), QWebEngineScript::ApplicationWorld);
    if (markup.size() != static_cast<std::size_t>(total))
        throw SaveError("the browser lost its document while handing it over");
    return markup;
}

}  // namespace

std::string DocumentMarkup(QWebEnginePage& browser, bool salvaComeTesto) {
    return SerialiseDocument(browser, !salvaComeTesto);
}

void SaveWebBrowser(QWebEnginePage& browser, const std::filesystem::path& nomeFile, bool salvaComeTesto) {
    WriteWholeFile(nomeFile, DocumentMarkup(browser, salvaComeTesto));
}

}  // namespace caltrix
