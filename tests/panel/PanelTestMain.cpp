// The panel tests run widgets offscreen with the font stand-ins in place.
#include <QApplication>

#include <gtest/gtest.h>

#include "Fonts.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Pannello2::InstallFontSubstitutions();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
