// The acquisition browser's page of one cycle: loaded from the live-score
// site, waited for, its error told, its markup taken for the save, and then
// replaced by a fresh page.
#pragma once

#include "common/qt/Attendi.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <stdexcept>
#include <string>

class QWebEngineLoadingInfo;
class QWebEnginePage;

namespace caltrix {

// The page did not load; the message says why.
class PageLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class LiveScorePage : public QObject {
    Q_OBJECT

public:
    explicit LiveScorePage(QObject* parent = nullptr);

    // Loads `address` and waits until it has loaded or failed, `waitSeconds`
    // (a design time) at most; a page still loading then is stopped, keeping
    // what has arrived. Throws PageLoadError when it failed.
    void Load(const QUrl& address, double waitSeconds);
    // Whether the last load finished.
    bool Loaded() const { return m_state == State::Loaded; }
    // The markup as far as it came, for the save (throws SaveError); the page
    // is replaced by a fresh one either way.
    std::string TakeMarkup();

signals:
    // The browser's status: progress, done, error.
    void statusText(const QString& text);

private:
    enum class State { Requested, Loading, Loaded, Failed };

    void create();
    void recycle();
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onRendererEnded();
    void failed(const QString& error);

    QWebEnginePage* m_page = nullptr;
    State m_state = State::Requested;
    WaitUntilDone m_wait;
    QString m_error;
};

}  // namespace caltrix
