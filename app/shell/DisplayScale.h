// Scaling the whole display through Qt's own high-DPI scaling, so widgets,
// fonts, pictures and the web pages are all drawn sharp at the new size and
// clicks land where things are drawn. Qt takes its scale factor only before
// the application object exists. Qt draws widgets wrongly below a factor of
// 1, so a display shrunk below its design size is laid out smaller by the
// program itself (the layout scale) instead.
#pragma once

#include "app/shell/Settings.h"

#include <QSize>

namespace caltrix {

// Call before the application object exists. A fixed factor from 1 up goes
// to Qt directly. For "fit", a short first start measures the primary screen,
// then the program starts anew in the same process (argv as given to main)
// with the factor that fits; this returns only in that new start, or at scale
// 1 when the new start fails. Returns the layout scale: the factor when it is
// below 1, else 1.
double PrepareScale(const DesignScale& scale, char** argv);

// Sets the layout scale for every control built after, and the application's
// default font to match. Call once the application object exists.
void ApplyLayoutScale(double factor);

// The largest factor at which `design` fits `screen` whole, rounded down to
// hundredths: a screen a few pixels larger than the design keeps factor 1 and
// its pictures unresampled.
double FitFactor(const QSize& screen, const QSize& design);

}  // namespace caltrix
