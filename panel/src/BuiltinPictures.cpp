#include "BuiltinPictures.h"

#include <QFile>

// The resources live in a static library: register them before first use.
static void RegisterPanelResources() { Q_INIT_RESOURCE(pannello); }

namespace Pannello2 {
namespace {

PictureRef LoadResource(const char* path) {
    RegisterPanelResources();
    QFile file(QString::fromLatin1(path));
    auto picture = std::make_shared<Picture>();
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        picture->encoded.assign(bytes.begin(), bytes.end());
    }
    return picture;
}

}  // namespace

PictureRef BuiltinPicture(Strip strip) {
    static const PictureRef titolo = LoadResource(":/pannello/titolo.jpg");
    static const PictureRef testo = LoadResource(":/pannello/testo.jpg");
    static const PictureRef info = LoadResource(":/pannello/info.jpg");
    switch (strip) {
    case Strip::Titolo:
        return titolo;
    case Strip::Testo:
        return testo;
    case Strip::Info:
        return info;
    }
    return nullptr;
}

}  // namespace Pannello2
