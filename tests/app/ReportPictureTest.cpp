#include "app/report/ScreenReporter.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace caltrix {
namespace {

// Noise compresses worst: the quality, then the size, come down until it fits.
TEST(ReportPicture, NoisyWindowFitsTheCapAtAboutTheWidth) {
    QImage window(1920, 1080, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x) window.setPixel(x, y, random.generate());
    const QByteArray jpeg = JpegPicture(window);
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_LE(jpeg.size(), kMaxPictureBytes);
    const QImage read = QImage::fromData(jpeg, "JPG");
    EXPECT_LE(read.width(), kPictureWidth);
    EXPECT_GE(read.width(), kPictureWidth / 2);
}

}  // namespace
}  // namespace caltrix
