#include "app/shell/WindowKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace caltrix {

WindowKeys::WindowKeys(QWidget* window, std::function<void(int key)> onKey)
    : m_window(window), m_onKey(std::move(onKey)) {
    QCoreApplication::instance()->installEventFilter(this);
}

WindowKeys::~WindowKeys() { QCoreApplication::instance()->removeEventFilter(this); }

// Whether the window is active is not asked: without a window manager it
// never becomes so.
bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && m_window->isVisible() && isOwnKeyTarget(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() &&
            (key->key() == Qt::Key_F5 || key->key() == Qt::Key_Escape || key->key() == Qt::Key_F1)) {
            m_onKey(key->key());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// A key for this window: sent to its native window or to one of its widgets
// (not to the about box or the single-panel window).
bool WindowKeys::isOwnKeyTarget(const QObject* watched) const {
    if (const auto* widget = qobject_cast<const QWidget*>(watched)) return widget->window() == m_window;
    return watched == m_window->windowHandle();
}

}  // namespace caltrix
