#include "app/shell/WindowMinimiser.h"

#include "app/logging/AppLogging.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace caltrix {
namespace {

template <typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

bool ownsSelection(xcb_connection_t* connection, const QByteArray& selection) {
    const XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(selection.size()), selection.constData()),
            nullptr),
        &std::free);
    if (!atom) return true;  // cannot tell: assume a window manager
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    return !owner || owner->owner != XCB_NONE;
}

}  // namespace

bool WindowManagerRuns() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return true;
    xcb_connection_t* connection = x11->connection();
    const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
    for (int screen = 0; screen < screens; ++screen)
        if (ownsSelection(connection, "WM_S" + QByteArray::number(screen))) return true;
    return false;
}

WindowMinimiser::WindowMinimiser(QWidget* window, std::function<void()> restore, int checkAfterMs)
    : QObject(window), m_window(window), m_restore(std::move(restore)) {
    m_check.setSingleShot(true);
    m_check.setInterval(checkAfterMs);
    connect(&m_check, &QTimer::timeout, this, &WindowMinimiser::showAgainIfStillExposed);
}

void WindowMinimiser::Minimise() {
    if (!WindowManagerRuns()) {
        qCInfo(lcShell) << "no window manager can minimise the window; it stays";
        return;
    }
    m_window->showMinimized();
    m_check.start();
}

// A window manager unmaps the window it minimises (X11); a compositor that
// hides it stops answering its frames (Wayland). Either way it is no longer
// exposed. Hidden and shown, the window shows its children again.
void WindowMinimiser::showAgainIfStillExposed() {
    if (!m_window || !m_window->isVisible()) return;
    const QWindow* native = m_window->windowHandle();
    if (native && !native->isExposed()) return;
    qCInfo(lcShell) << "the window was not minimised; it is shown again";
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->hide();
    m_restore();
}

}  // namespace caltrix
