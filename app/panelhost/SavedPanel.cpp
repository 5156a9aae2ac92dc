#include "SavedPanel.h"

#include <QWidget>

#include "JsonPropertyBag.h"
#include "PanelHostError.h"
#include "PanelLibrary.h"

namespace caltrix {

Pannello2::_Pannello* CreateSavedPanel(PanelLibrary& library, QWidget* parent, Pannello2::PannelloHost* host,
                                       const QString& savedStatePath) {
    const JsonPropertyBag bag = JsonPropertyBag::LoadFromFile(savedStatePath);
    Pannello2::_Pannello* panel = library.Create(parent, host);
    try {
        panel->Load(bag);
    } catch (const Pannello2::TypeMismatch& mismatch) {
        if (QWidget* widget = panel->Widget()) {
            delete widget;
        } else {
            delete panel;
        }
        throw PanelHostError(QStringLiteral("saved panel %1: %2")
                                 .arg(savedStatePath, QString::fromStdString(mismatch.what()))
                                 .toStdString());
    }
    return panel;
}

}  // namespace caltrix
