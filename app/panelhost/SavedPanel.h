// Creates a panel and restores it from a saved state file.
#pragma once

#include <QString>

#include <Pannello/Pannello.h>

namespace caltrix {

class PanelLibrary;

// A panel owned by `parent`, loaded from the JSON saved state at
// `savedStatePath`. Throws PanelHostError naming the file when it is missing,
// broken, or holds a value of the wrong type; no panel is left behind then.
Pannello2::_Pannello* CreateSavedPanel(PanelLibrary& library, QWidget* parent, Pannello2::PannelloHost* host,
                                       const QString& savedStatePath);

}  // namespace caltrix
