// Draws the three built-in strip pictures (green textured bars) and writes
// them as JPEG files into the folder given as argument. Run once; the
// results are committed next to this program.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

#include <cstdio>

namespace {

QImage GreenBar(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient shade(0, 0, 0, height);
    shade.setColorAt(0.0, QColor(18, 92, 34));
    shade.setColorAt(0.45, QColor(34, 140, 52));
    shade.setColorAt(1.0, QColor(10, 64, 22));
    painter.fillRect(image.rect(), shade);
    painter.end();

    // Fine grain and faint horizontal brushing make the texture.
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        const int brush = random.bounded(-6, 7);
        for (int x = 0; x < width; ++x) {
            const int grain = random.bounded(-10, 11) + brush;
            const QColor c = image.pixelColor(x, y);
            image.setPixelColor(x, y,
                                QColor(qBound(0, c.red() + grain / 2, 255), qBound(0, c.green() + grain, 255),
                                       qBound(0, c.blue() + grain / 2, 255)));
        }
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool written = GreenBar(334, 24, 1).save(folder + "/titolo.jpg", "JPEG", 85) &&
                         GreenBar(334, 52, 2).save(folder + "/testo.jpg", "JPEG", 85) &&
                         GreenBar(334, 23, 3).save(folder + "/info.jpg", "JPEG", 85);
    return written ? 0 : 1;
}
