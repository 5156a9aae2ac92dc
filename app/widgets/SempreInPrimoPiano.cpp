#include "app/widgets/SempreInPrimoPiano.h"

#include <QWidget>

namespace caltrix {

void SempreInPrimoPiano(QWidget* window) {
    const QRect geometry = window->geometry();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->setGeometry(geometry);
    window->show();
    window->raise();
}

}  // namespace caltrix
