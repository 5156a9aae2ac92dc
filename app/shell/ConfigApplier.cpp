#include "app/shell/ConfigApplier.h"

#include "app/shell/SafeAddresses.h"

#include "common/SlotSelectionStore.h"
#include "common/qt/Text1252Qt.h"

#include <QPushButton>
#include <QTextDocument>
#include <QWebEngineView>

namespace caltrix {
namespace {

constexpr int kFirstButton = 3;

// A tooltip that shows `text` as it stands, also when it looks like markup.
QString PlainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace

ConfigApplier::ConfigApplier(ConfigControls controls) : m_controls(std::move(controls)) {}

void ConfigApplier::SetSelection(int element, const std::string& selection) {
    m_controls.store->SetSelection(element, selection);
}

void ConfigApplier::NavigateBanner(int browser, const std::string& page) {
    if (browser < 1 || browser > static_cast<int>(m_controls.banners.size())) return;
    QWebEngineView* view = m_controls.banners[static_cast<std::size_t>(browser - 1)];
    const std::optional<QUrl> address = BannerAddress(m_controls.endpoint, FromWindows1252(page));
    if (view != nullptr && address) view->setUrl(*address);
}

void ConfigApplier::SetTicker(const std::string& text) {
    if (m_controls.setTicker) m_controls.setTicker(text);
}

void ConfigApplier::SetButton(int command, const std::string& caption, const std::string& target) {
    const int index = command - kFirstButton;
    if (index < 0 || index >= static_cast<int>(m_controls.buttons.size())) return;
    QPushButton* button = m_controls.buttons[static_cast<std::size_t>(index)];
    if (button == nullptr) return;
    // The caption keeps "&" as a mnemonic marker, as the button always did.
    button->setText(FromWindows1252(caption));
    const QString tag = FromWindows1252(target);
    button->setProperty("Tag", tag);
    button->setToolTip(PlainToolTip(tag));
}

void ConfigApplier::Repaint() {
    if (m_controls.repaint) m_controls.repaint();
}

}  // namespace caltrix
