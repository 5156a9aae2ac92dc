#pragma once

namespace caltrix {

// The design fonts (Verdana, Courier New, Times New Roman, MS Sans Serif) are
// not in Debian. Maps each, explicitly, to the Debian font that stands in for
// it: DejaVu Sans for Verdana (same wide humanist design), and the
// metric-compatible Liberation fonts for the others.
void InstallFontSubstitutions();

}  // namespace caltrix
