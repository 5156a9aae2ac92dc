#include "app/solo/frmSolo.h"

#include <exception>
#include <stdexcept>

#include <QGuiApplication>
#include <QScreen>

#include "app/support/Twips.h"
#include "common/qt/Logging.h"

namespace caltrix {
namespace {

constexpr int kLarghezza = TwipsToPixels(5010);  // client area 5010 x 1455 twips
constexpr int kAltezza = TwipsToPixels(1455);
constexpr int kAltezzaPannello = TwipsToPixels(1470);  // the panel is 15 twips taller than the window
constexpr int kSinistra = TwipsToPixels(100);
constexpr int kDistanzaDalFondo = TwipsToPixels(500);

}  // namespace

class frmSolo::ClickSink : public Pannello2::__Pannello {
public:
    explicit ClickSink(frmSolo& window) : m_window(window) {}
    void Click() override { m_window.PannelloCliccato(); }

private:
    frmSolo& m_window;
};

frmSolo::frmSolo(const std::function<Pannello2::_Pannello*(QWidget* parent)>& creaPannello, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_timerFlash([this] { TickFlash(); }) {
    setWindowTitle(QStringLiteral("Lumetra"));
    setFixedSize(kLarghezza, kAltezza);

    m_panel = creaPannello(this);
    if (m_panel == nullptr) throw std::runtime_error("the single-panel window got no panel");
    if (QWidget* widget = m_panel->Widget()) widget->setGeometry(0, 0, kLarghezza, kAltezzaPannello);
    m_sink = std::make_unique<ClickSink>(*this);
    m_panel->Advise(m_sink.get());

    m_flash = std::make_unique<ScoreFlash>(*m_panel, m_timerFlash);
    m_timerFlash.Start();
    Sposta();
}

frmSolo::~frmSolo() { m_panel->Advise(nullptr); }

void frmSolo::Sposta() {
    const QScreen* schermo = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const int altezzaSchermo = schermo != nullptr ? schermo->geometry().height() : 0;
    move(kSinistra, altezzaSchermo - kDistanzaDalFondo - frameGeometry().height());
}

void frmSolo::TickFlash() {
    try {
        m_flash->Tick();
    } catch (const std::exception& error) {
        qCWarning(lcDisplay).noquote() << "single-panel flash failed:" << error.what();
    }
}

void frmSolo::PannelloCliccato() {
    hide();
    emit TornaAlPrincipale();
}

}  // namespace caltrix
