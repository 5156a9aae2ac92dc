#include "acquisition/qt/LiveScorePage.h"

#include "acquisition/qt/AcquisitionProfile.h"
#include "acquisition/qt/SaveWebBrowser.h"
#include "acquisition/qt/AcquisitionLogging.h"

#include <QRegularExpression>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

namespace caltrix {
namespace {

// The engine's error texts carry markup for its error page.
QString PlainText(QString text) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return text.remove(tag).simplified();
}

// The engine's first navigation in a profile does several milliseconds of
// work at once on the user-interface thread: a throwaway page of the
// acquisition profile takes it at start-up, so the first cycle does not pause
// the display for it. Its renderer ends with it. It is not the live-score
// page, whose wait a late "about:blank" loaded could end early.
void PrepareEngine(QObject* owner) {
    auto* page = new QWebEnginePage(AcquisitionProfile(), owner);
    QObject::connect(page, &QWebEnginePage::loadFinished, page, &QObject::deleteLater);
    page->setUrl(QUrl(QStringLiteral("about:blank")));
}

}  // namespace

LiveScorePage::LiveScorePage(QObject* parent) : QObject(parent) {
    create();
    PrepareEngine(this);
}

void LiveScorePage::create() {
    m_page = new QWebEnginePage(AcquisitionProfile(), this);
    m_page->setAudioMuted(true);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &LiveScorePage::onLoadingChanged);
    connect(m_page, &QWebEnginePage::loadProgress, this, [this](int percent) {
        emit statusText(QStringLiteral("%1% of %2").arg(percent).arg(m_page->url().toDisplayString()));
    });
    connect(m_page, &QWebEnginePage::titleChanged, this, &LiveScorePage::statusText);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this, &LiveScorePage::onRendererEnded);
}

// Its renderer process ends with the page, and with the process every byte
// the page held: a renderer keeps the memory of a page of many megabytes long
// after it has moved on to a small one, and a display runs for months.
void LiveScorePage::recycle() {
    m_page->disconnect(this);
    m_page->deleteLater();
    create();
}

void LiveScorePage::Load(const QUrl& address, double waitSeconds) {
    m_state = State::Requested;
    m_error.clear();
    m_wait.Reset();
    m_page->setUrl(address);
    m_wait.Wait(waitSeconds);
    switch (m_state) {
    case State::Failed:
        throw PageLoadError(("the page did not load: " + m_error).toStdString());
    case State::Requested:
    case State::Loading:
        // Stopping keeps what has arrived and frees the renderer from
        // parsing the rest, so the save does not queue behind it.
        qCInfo(lcCycle) << "the live-score page has not finished loading; stopped, saving what the browser holds";
        m_page->triggerAction(QWebEnginePage::Stop);
        break;
    case State::Loaded:
        break;
    }
}

std::string LiveScorePage::TakeMarkup() {
    std::string markup;
    try {
        markup = DocumentMarkup(*m_page, true);
    } catch (...) {
        recycle();
        throw;
    }
    recycle();
    return markup;
}

void LiveScorePage::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    const bool httpError = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain && info.errorCode() >= 400;
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        m_state = State::Loading;
        emit statusText(QStringLiteral("Opening ") + info.url().toDisplayString());
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
    case QWebEngineLoadingInfo::LoadFailedStatus:
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus || info.isErrorPage() || httpError) {
            failed(QStringLiteral("error %1: %2").arg(info.errorCode()).arg(PlainText(info.errorString())));
        } else {
            m_state = State::Loaded;
            emit statusText(QStringLiteral("Done"));
            m_wait.Done();
        }
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        break;
    }
}

// The wait ends; the page is replaced after the save, so it is not reloaded:
// a reload would ask the site a second time in one cycle.
void LiveScorePage::onRendererEnded() { failed(QStringLiteral("the renderer process ended")); }

void LiveScorePage::failed(const QString& error) {
    m_state = State::Failed;
    m_error = error;
    emit statusText(QStringLiteral("Error: ") + m_error);
    m_wait.Done();
}

}  // namespace caltrix
