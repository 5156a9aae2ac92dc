// Restores a panel from arbitrary bytes taken as a JSON saved state: the
// restore ends, or stops with a type mismatch, and the panel saves again.
#include <QApplication>
#include <QJsonDocument>

#include <cstddef>
#include <cstdint>

#include "Fonts.h"
#include "JsonPropertyBag.h"
#include "PannelloControl.h"

namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "fuzz_propertybag";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    Pannello2::InstallFontSubstitutions();
    return app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Application();
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!document.isObject()) return 0;

    Pannello2::PannelloHost host;
    Pannello2::Pannello* panel = Pannello2::CreateInitialisedPannello(nullptr, &host);
    try {
        panel->Load(caltrix::JsonPropertyBag(document.object()));
    } catch (const Pannello2::TypeMismatch&) {}
    caltrix::JsonPropertyBag saved;
    panel->Save(saved);
    delete panel;
    return 0;
}
