#include "app/solo/frmSolo.h"

#include <exception>
#include <stdexcept>

#include <QGuiApplication>
#include <QScreen>

#include "app/widgets/Twips.h"
#include "display/qt/DisplayLogging.h"

namespace caltrix {
namespace {

// Twips: the client area is 5010 x 1455, the panel 15 taller than the window.
constexpr int kWidth = 5010;
constexpr int kHeight = 1455;
constexpr int kPanelHeight = 1470;
constexpr int kLeft = 100;
constexpr int kDistanceFromBottom = 500;

}  // namespace

class frmSolo::ClickSink : public Pannello2::__Pannello {
public:
    explicit ClickSink(frmSolo& window) : m_window(window) {}
    void Click() override { m_window.OnPanelClicked(); }

private:
    frmSolo& m_window;
};

frmSolo::frmSolo(const std::function<Pannello2::_Pannello*(QWidget* parent)>& createPanel, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_timerFlash([this] { TickFlash(); }) {
    setWindowTitle(QStringLiteral("Lumetra"));
    setFixedSize(TwipsToPixels(kWidth), TwipsToPixels(kHeight));

    m_panel = createPanel(this);
    if (m_panel == nullptr) throw std::runtime_error("the single-panel window got no panel");
    if (QWidget* widget = m_panel->Widget()) widget->setGeometry(TwipsRect(0, 0, kWidth, kPanelHeight));
    m_sink = std::make_unique<ClickSink>(*this);
    m_panel->Advise(m_sink.get());

    m_flash = std::make_unique<ScoreFlash>(*m_panel, m_timerFlash);
    m_timerFlash.Start();
    placeAtBottomLeft();
}

frmSolo::~frmSolo() { m_panel->Advise(nullptr); }

void frmSolo::placeAtBottomLeft() {
    const QScreen* screenNow = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const int screenHeight = screenNow != nullptr ? screenNow->geometry().height() : 0;
    move(TwipsToPixels(kLeft), screenHeight - TwipsToPixels(kDistanceFromBottom) - frameGeometry().height());
}

void frmSolo::TickFlash() {
    try {
        m_flash->Tick();
    } catch (const std::exception& error) {
        qCWarning(lcDisplay).noquote() << "single-panel flash failed:" << error.what();
    }
}

void frmSolo::OnPanelClicked() {
    hide();
    emit ReturnToMainWindow();
}

}  // namespace caltrix
