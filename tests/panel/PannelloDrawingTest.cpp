#include <QBuffer>
#include <QFontMetricsF>

#include <gtest/gtest.h>

#include "PanelTestSupport.h"
#include "PictureStrip.h"

namespace Pannello2 {
namespace {

const QColor kLightYellow(255, 255, 0);
const QColor kBrightWhite(255, 255, 255);
const QColor kLightRed(255, 0, 0);

QImage BlankInfoStrip() {
    TestPanel panel;
    panel->SetTestoPic("");
    return InfoStripImage(*panel);
}

double StartFontWidth(const QString& text) {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(10);
    font.setBold(true);
    return QFontMetricsF(font).horizontalAdvance(text);
}

TEST(PannelloDrawing, HalfTimeMarkupDrawsOnlyYellowText) {
    TestPanel panel;
    panel->SetTestoPic("[14]HT [15]");
    const QImage image = InfoStripImage(*panel);
    EXPECT_GT(CountPixels(image, kLightYellow), 10);
    EXPECT_EQ(CountPixels(image, kBrightWhite), 0);
    EXPECT_EQ(panel->TestoPic(), "[14]HT [15]");
}

TEST(PannelloDrawing, TextWithoutCodesIsDrawnInBrightWhite) {
    TestPanel plain, coded;
    plain->SetTestoPic("ABC");
    coded->SetTestoPic("[15]ABC");
    const QImage image = InfoStripImage(*plain);
    EXPECT_GT(CountPixels(image, kBrightWhite), 10);
    EXPECT_EQ(image, InfoStripImage(*coded));
    EXPECT_EQ(plain->TestoPic(), "ABC");
}

TEST(PannelloDrawing, ColourCodeAloneLeavesOnlyTheStripPicture) {
    TestPanel panel;
    panel->SetTestoPic("ABC");
    panel->SetTestoPic("[7]");
    EXPECT_EQ(InfoStripImage(*panel), BlankInfoStrip());
}

TEST(PannelloDrawing, LineIsCentredOnTheMeasuringText) {
    TestPanel panel;
    panel->SetTestoPic("AB[14]CD");
    const auto& drawn = Strip(*panel, "picInfo").Drawing();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, "CD");
    EXPECT_NEAR(drawn[0].position.x(), (334 - StartFontWidth("ABCD")) / 2, 0.01);
    EXPECT_NEAR(drawn[0].position.y(), 26.0 / 15, 0.01);
    EXPECT_EQ(drawn[0].colour, kLightYellow);
}

TEST(PannelloDrawing, SegmentsFollowEachOtherWithTheirBoldness) {
    TestPanel panel;
    panel->SetTestoPic("[15]Ciao[/B] mondo");
    const auto& drawn = Strip(*panel, "picInfo").Drawing();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_TRUE(drawn[0].font.bold());
    EXPECT_FALSE(drawn[1].font.bold());
    EXPECT_NEAR(drawn[1].position.x() - drawn[0].position.x(), StartFontWidth("Ciao"), 0.01);
}

TEST(PannelloDrawing, FailuresThrowAfterStoringAndKeepEarlierSegments) {
    struct Case {
        const char* markup;
        MarkupError::Kind kind;
        bool somethingDrawn;
    };
    const Case cases[] = {{"[16]x", MarkupError::Kind::InvalidArgument, false},
                          {"x[14", MarkupError::Kind::InvalidArgument, false},
                          {"[40000]x", MarkupError::Kind::Overflow, false},
                          {"[14]ok[99]no", MarkupError::Kind::InvalidArgument, true}};
    const QImage blank = BlankInfoStrip();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        TestPanel panel;
        panel->SetTestoPic("ABC");
        try {
            panel->SetTestoPic(c.markup);
            ADD_FAILURE() << "no failure";
        } catch (const MarkupError& error) {
            EXPECT_EQ(error.kind(), c.kind);
        }
        EXPECT_EQ(panel->TestoPic(), c.markup);
        EXPECT_EQ(panel.host.notifications.back(), "TestoPic");
        EXPECT_EQ(InfoStripImage(*panel) != blank, c.somethingDrawn);
        // The copy was stored too: HTFisso draws it and fails the same way.
        EXPECT_THROW(panel->HTFisso(), MarkupError);
    }
}

TEST(PannelloDrawing, DrawingTwiceGivesTheSamePicture) {
    TestPanel panel;
    panel->SetTestoPic("[12][B]2-1[/B] 45");
    const QImage first = InfoStripImage(*panel);
    EXPECT_GT(CountPixels(first, kLightRed), 10);
    panel->SetTestoPic("[12][B]2-1[/B] 45");
    EXPECT_EQ(InfoStripImage(*panel), first);
}

TEST(PannelloDrawing, NewInfoPictureIsDrawnAtItsOwnSizeTimesTheScaleUnderTheText) {
    QImage blue(100, 10, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    blue.save(&buffer, "PNG");

    for (const double scale : {1.0, 0.5}) {
        TestPanel panel(nullptr, scale);
        const QImage titleBefore = Strip(*panel, "picTitolo").grab().toImage();
        panel->SetPictureInfo(std::make_shared<const Picture>(Picture{{png.begin(), png.end()}}));
        panel->SetTestoPic("ABC");
        const QImage image = InfoStripImage(*panel);
        EXPECT_EQ(CountPixels(image, QColor(0, 0, 255)), static_cast<int>(100 * 10 * scale * scale))
            << "from the top left, not stretched, at scale " << scale;
        EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 255));
        EXPECT_GT(CountPixels(image, kBrightWhite), 5);
        EXPECT_EQ(Strip(*panel, "picTitolo").grab().toImage(), titleBefore);
    }
}

TEST(PannelloDrawing, AHostsScaleShrinksPlacesAndFonts) {
    TestPanel full, half(nullptr, 0.5);
    EXPECT_EQ(half->size(), full->size() / 2);
    for (const char* name : {"lblTitolo", "lblTesto", "lblInfo"}) {
        const QPoint offset = Label(*half, name).geometry().topLeft() - Label(*full, name).geometry().topLeft() / 2;
        EXPECT_LE(offset.manhattanLength(), 1) << name << ": each rounded to whole pixels";
        EXPECT_DOUBLE_EQ(Label(*half, name).font().pointSizeF(), Label(*full, name).font().pointSizeF() / 2) << name;
    }
    full->SetTestoPic("ABC");
    half->SetTestoPic("ABC");
    EXPECT_DOUBLE_EQ(Strip(*half, "picInfo").Drawing()[0].font.pointSizeF(), 5);
}

TEST(PannelloDrawing, LabelsStayClearUnderAHostStyleSheet) {
    QWidget host;
    host.setStyleSheet("background: black");
    RecordingHost recorder;
    Pannello* panel = CreateInitialisedPannello(&host, &recorder);
    panel->SetHTTesto("1-0");
    panel->SetInfoTesto("45'");
    EXPECT_EQ(CountPixels(InfoStripImage(*panel), QColor(0, 0, 0)), 0);
}

}  // namespace
}  // namespace Pannello2
