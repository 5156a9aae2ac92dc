#pragma once

class QWidget;

namespace caltrix {

// Puts the window above all normal windows, keeping its position and size,
// without activating it, and shows it.
void SempreInPrimoPiano(QWidget* window);

}  // namespace caltrix
