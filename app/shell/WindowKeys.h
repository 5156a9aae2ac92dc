// The program's keys for one window: F5, F1 and Esc reach its handler before
// the control that has the focus (the browsers would otherwise take them).
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace caltrix {

class WindowKeys : public QObject {
    Q_OBJECT

public:
    // Watches every key of the application while it lives; `onKey` gets the
    // Qt key code of each F5, F1 and Esc pressed (not repeated) for `window`.
    WindowKeys(QWidget* window, std::function<void(int key)> onKey);
    ~WindowKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isOwnKeyTarget(const QObject* watched) const;

    QWidget* m_window;
    std::function<void(int)> m_onKey;
};

}  // namespace caltrix
