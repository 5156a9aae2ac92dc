#include "acquisition/SaveWebBrowser.h"

#include "common/LineFile.h"

#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <memory>

namespace caltrix {
namespace {

// How long the renderer may take to serialise a page. Not scaled by the time
// scale: the work depends on the page's size, not on the program's clock.
constexpr int kSerialiseTimeoutMs = 20000;

QString ClassicMarkupScript() {
    QFile file(QStringLiteral(":/caltrix/acquisition/ClassicMarkup.js"));
    if (!file.open(QIODevice::ReadOnly)) throw SaveError("the page serialiser is missing from the program");
    return QString::fromUtf8(file.readAll());
}

// Runs the serialiser in the page and waits for its answer in a local event
// loop. The answer is a string of Windows-1252 bytes, one per character.
std::string SerialiseDocument(QWebEnginePage& browser, bool wholeDocument) {
    static const QString script = ClassicMarkupScript();
    const QString call = script + QStringLiteral("(%1)").arg(wholeDocument ? "true" : "false");

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
    // The application world keeps the page's own scripts away from the
    // serialiser's functions; the document is the same.
    browser.runJavaScript(call, QWebEngineScript::ApplicationWorld, [answer, waiting](const QVariant& value) {
        answer->arrived = true;
        answer->value = value;
        if (waiting) waiting->quit();
    });
    if (!answer->arrived) {
        timeout.start(kSerialiseTimeoutMs);
        loop.exec();
    }
    if (!answer->arrived) throw SaveError("the browser did not hand over its document");
    if (answer->value.typeId() == QMetaType::Bool) throw SaveError("the browser shows its error page");
    if (answer->value.typeId() != QMetaType::QString) throw SaveError("the browser has no document");
    const QByteArray bytes = answer->value.toString().toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

void SaveWebBrowser(QWebEnginePage& browser, const std::filesystem::path& nomeFile, bool salvaComeTesto) {
    WriteWholeFile(nomeFile, SerialiseDocument(browser, !salvaComeTesto));
}

}  // namespace caltrix
