// Shared helpers of the panel tests: a host that records notifications, an
// in-memory property bag, and a freshly created panel.
#pragma once

#include <QColor>
#include <QImage>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CaptionLabel.h"
#include "PannelloControl.h"
#include "PictureStrip.h"

namespace Pannello2 {

class RecordingHost : public PannelloHost {
public:
    void PropertyChanged(std::string_view name) override { notifications.emplace_back(name); }
    FontRef AmbientFont() override { return MakeFont("MS Sans Serif", 8.25, false); }
    double AmbientScale() override { return scale; }

    std::vector<std::string> notifications;
    double scale = 1.0;
};

class ClickCounter : public __Pannello {
public:
    void Click() override { ++clicks; }
    int clicks = 0;
};

// Keys matched without regard to case, as a host's bag does.
class MemoryBag : public PropertyBag {
public:
    std::optional<PropertyValue> Read(std::string_view key) const override;
    void Write(std::string_view key, const PropertyValue& value) override;

    std::map<std::string, PropertyValue> values;  // keys in lower case
};

// A panel as the factory creates it, with a host that records and a
// pinned clock, drawn at the host's `scale`; first placement done unless
// `load` is given. The host keeps only the notifications a restore sent.
struct TestPanel {
    explicit TestPanel(const PropertyBag* load = nullptr, double scale = 1.0);
    ~TestPanel();

    Pannello& operator*() { return *panel; }
    Pannello* operator->() { return panel; }

    RecordingHost host;
    int second = 1;
    Pannello* panel;
};

CaptionLabel& Label(Pannello& panel, const char* name);
PictureStrip& Strip(Pannello& panel, const char* name);

// The info strip as drawn on screen (labels included).
QImage InfoStripImage(Pannello& panel);
// How many pixels of the image have exactly this colour.
int CountPixels(const QImage& image, const QColor& colour);

}  // namespace Pannello2
