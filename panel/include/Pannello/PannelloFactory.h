// The panel library's entry point: a Qt plugin whose interface identifier is
// the control's programmatic identifier "Pannello2.Pannello". A host loads the
// library with QPluginLoader and creates panels through this factory.
#pragma once

#include <QtPlugin>

#include <Pannello/Pannello.h>

namespace Pannello2 {

class PannelloFactory {
public:
    virtual ~PannelloFactory() = default;
    // Creates an initialised panel as a child of `parent`, which owns it.
    // `host` receives property-changed notifications and supplies the ambient
    // font; it must outlive the panel. The host then calls InitNew or Load.
    virtual _Pannello* CreatePannello(QWidget* parent, PannelloHost* host) = 0;
    // True when no panel created by this factory is alive.
    virtual bool CanUnloadNow() const = 0;
};

}  // namespace Pannello2

#define Pannello2_PannelloFactory_iid "Pannello2.Pannello"
Q_DECLARE_INTERFACE(Pannello2::PannelloFactory, Pannello2_PannelloFactory_iid)
