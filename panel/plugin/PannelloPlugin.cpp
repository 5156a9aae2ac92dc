#include "PannelloPlugin.h"

#include "Fonts.h"
#include "PannelloControl.h"

namespace Pannello2 {

PannelloPlugin::PannelloPlugin() { InstallFontSubstitutions(); }

_Pannello* PannelloPlugin::CreatePannello(QWidget* parent, PannelloHost* host) {
    Pannello* panel = CreateInitialisedPannello(parent, host);
    ++m_livePanels;
    connect(panel, &QObject::destroyed, this, [this] { --m_livePanels; });
    return panel;
}

}  // namespace Pannello2
