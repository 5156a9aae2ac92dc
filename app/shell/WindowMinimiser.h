// The "_" button's minimise, also where nothing minimises windows.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace caltrix {

// Qt hides a window's children as soon as it is asked to minimise the
// window, so its browsers stop drawing, and shows them again only when told
// that the window came back. On an X display without a window manager nothing
// would minimise it: the request is not made. Where a compositor ignores it
// (cage), the window stays on screen: seen still exposed a moment later, it is
// shown again whole by `restore`.
class WindowMinimiser : public QObject {
public:
    static constexpr int kCheckAfterMs = 2000;  // enough for a compositor to hide the window

    WindowMinimiser(QWidget* window, std::function<void()> restore, int checkAfterMs = kCheckAfterMs);

    void Minimise();

private:
    void showAgainIfStillExposed();

    QPointer<QWidget> m_window;
    std::function<void()> m_restore;
    QTimer m_check;
};

// False only on an X display where no window manager runs (none owns the
// screens' WM_S selections); true on every other platform.
bool WindowManagerRuns();

}  // namespace caltrix
