#include "PanelTestSupport.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "CaptionLabel.h"
#include "Fonts.h"
#include "PictureStrip.h"

namespace Pannello2 {
namespace {

// The panels are drawn with the font stand-ins in place.
class FontSubstitutions : public testing::Environment {
public:
    void SetUp() override { InstallFontSubstitutions(); }
};
[[maybe_unused]] testing::Environment* const kFontSubstitutions =
    testing::AddGlobalTestEnvironment(new FontSubstitutions);

RecordingHost scaledHost(double scale) {
    RecordingHost host;
    host.scale = scale;
    return host;
}

std::string Lower(std::string_view key) {
    std::string lower(key);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

}  // namespace

std::optional<PropertyValue> MemoryBag::Read(std::string_view key) const {
    const auto it = values.find(Lower(key));
    if (it == values.end()) return std::nullopt;
    return it->second;
}

void MemoryBag::Write(std::string_view key, const PropertyValue& value) { values[Lower(key)] = value; }

TestPanel::TestPanel(const PropertyBag* load, double scale)
    : host(scaledHost(scale)), panel(CreateInitialisedPannello(nullptr, &host)) {
    panel->SetClock([this] { return second; });
    host.notifications.clear();  // those the initialisation sends
    if (load) {
        panel->Load(*load);
    } else {
        panel->InitNew();
        host.notifications.clear();
    }
}

TestPanel::~TestPanel() { delete panel; }

CaptionLabel& Label(Pannello& panel, const char* name) {
    auto* label = panel.findChild<CaptionLabel*>(QString::fromLatin1(name));
    if (!label) throw std::logic_error(std::string("no label ") + name);
    return *label;
}

PictureStrip& Strip(Pannello& panel, const char* name) {
    auto* strip = panel.findChild<PictureStrip*>(QString::fromLatin1(name));
    if (!strip) throw std::logic_error(std::string("no strip ") + name);
    return *strip;
}

QImage InfoStripImage(Pannello& panel) {
    return Strip(panel, "picInfo").grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int CountPixels(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour ? 1 : 0;
    }
    return count;
}

}  // namespace Pannello2
