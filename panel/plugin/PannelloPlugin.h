// The library's entry point: the Qt plugin that hosts load by the identifier
// "Pannello2.Pannello" and through which they create panels.
#pragma once

#include <QObject>

#include <Pannello/PannelloFactory.h>

namespace Pannello2 {

class PannelloPlugin : public QObject, public PannelloFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "Pannello2.Pannello" FILE "pannello.json")
    Q_INTERFACES(Pannello2::PannelloFactory)

public:
    PannelloPlugin();

    _Pannello* CreatePannello(QWidget* parent, PannelloHost* host) override;
    bool CanUnloadNow() const override { return m_livePanels == 0; }

private:
    int m_livePanels = 0;
};

}  // namespace Pannello2
