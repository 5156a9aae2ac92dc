#include "PanelLibrary.h"

#include <QJsonObject>

#include "PanelHostError.h"

namespace caltrix {
namespace {

[[noreturn]] void Fail(const QString& path, const QString& reason) {
    throw PanelHostError(QStringLiteral("panel library %1: %2").arg(path, reason).toStdString());
}

}  // namespace

PanelLibrary::PanelLibrary(const QString& path) : m_path(path), m_loader(path) {
    if (!m_loader.load()) Fail(path, m_loader.errorString());
    const QString iid = m_loader.metaData().value(QStringLiteral("IID")).toString();
    if (iid != QLatin1String(Pannello2_PannelloFactory_iid)) {
        Fail(path,
             QStringLiteral("answers to \"%1\", not \"%2\"").arg(iid, QLatin1String(Pannello2_PannelloFactory_iid)));
    }
    m_factory = qobject_cast<Pannello2::PannelloFactory*>(m_loader.instance());
    if (!m_factory) Fail(path, QStringLiteral("gives no panel factory"));
}

Pannello2::_Pannello* PanelLibrary::Create(QWidget* parent, Pannello2::PannelloHost* host) {
    return m_factory->CreatePannello(parent, host);
}

bool PanelLibrary::CanUnloadNow() const { return m_factory->CanUnloadNow(); }

}  // namespace caltrix
