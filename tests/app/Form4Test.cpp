// The about box: look, closing and dragging.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include "app/about/Form4.h"

namespace caltrix {
namespace {

const QString kDataFolder = QStringLiteral(CALTRIX_TEST_DATA_DIR);

void Drag(QWidget& box, Qt::MouseButtons buttons, QPoint from, QPoint to) {
    for (const QPoint at : {from, to}) {
        QMouseEvent move(QEvent::MouseMove, box.mapFromGlobal(at), at, Qt::NoButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&box, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, box.mapFromGlobal(to), to, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &release);
}

TEST(Form4Test, ShowsTheVersionCommentOverItsPictureCentredOnTheScreen) {
    Form4 box(kDataFolder);
    EXPECT_TRUE(box.HasBackground());
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(box.size(), QSize(264, 303));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(box.pos(), QPoint((screen.width() - 264) / 2, (screen.height() - 303) / 2));
    EXPECT_EQ(box.Label1()->text(), "Lumetra 0.1 Beta");
    EXPECT_EQ(box.Label1()->geometry(), QRect(81, 55, 97, 13));
    EXPECT_LE(box.Label1()->fontMetrics().horizontalAdvance(box.Label1()->text()), 97) << "shown whole";
    EXPECT_EQ(box.Label1()->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    EXPECT_EQ(box.Label1()->palette().color(QPalette::Window), QColor(Qt::black));
}

TEST(Form4Test, AMissingPictureLeavesTheBoxWithoutBackground) {
    Form4 box(QStringLiteral("/nonexistent-folder"));
    EXPECT_FALSE(box.HasBackground());
    box.show();
    EXPECT_FALSE(box.grab().isNull());
    EXPECT_EQ(box.Label1()->text(), "Lumetra 0.1 Beta");
}

TEST(Form4Test, EscOrADoubleClickClosesOtherKeysDoNothing) {
    Form4 box(kDataFolder);
    box.show();
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_A);
    EXPECT_TRUE(box.isVisible());
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());
    box.show();
    QTest::mouseDClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_FALSE(box.isVisible());
}

TEST(Form4Test, DraggedByTheLeftButtonOnly) {
    Form4 box(kDataFolder);
    box.show();
    const QPoint start = box.pos();
    const QPoint grip = box.mapToGlobal(QPoint(20, 20));

    Drag(box, Qt::RightButton, grip, grip + QPoint(30, 40));
    EXPECT_EQ(box.pos(), start);
    Drag(box, Qt::LeftButton | Qt::RightButton, grip, grip + QPoint(30, 40));
    EXPECT_EQ(box.pos(), start);

    Drag(box, Qt::LeftButton, grip, grip + QPoint(30, 40));
    EXPECT_EQ(box.pos(), start + QPoint(30, 40));
}

TEST(Form4Test, MostraIsModalAndEachCallMakesAFreshBox) {
    for (int i = 0; i < 2; ++i) {
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto* box = qobject_cast<Form4*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = box->Label1()->text();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        Form4::ShowAbout(kDataFolder, nullptr);
        EXPECT_EQ(shown, "Lumetra 0.1 Beta");
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

}  // namespace
}  // namespace caltrix
