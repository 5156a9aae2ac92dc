// The loaded panel library: finds the factory behind the identifier
// "Pannello2.Pannello" and creates panels through it.
#pragma once

#include <QPluginLoader>
#include <QString>

#include <Pannello/PannelloFactory.h>

namespace caltrix {

class PanelLibrary {
public:
    // Loads the library at `path` (normally <program's lib folder>/libPannello.so).
    // Throws PanelHostError naming the path when it is missing or is not the
    // panel library.
    explicit PanelLibrary(const QString& path);

    PanelLibrary(const PanelLibrary&) = delete;
    PanelLibrary& operator=(const PanelLibrary&) = delete;

    const QString& Path() const { return m_path; }

    // An initialised panel owned by `parent`; the host then calls InitNew or Load.
    Pannello2::_Pannello* Create(QWidget* parent, Pannello2::PannelloHost* host);
    bool CanUnloadNow() const;

private:
    QString m_path;
    QPluginLoader m_loader;
    Pannello2::PannelloFactory* m_factory = nullptr;
};

}  // namespace caltrix
