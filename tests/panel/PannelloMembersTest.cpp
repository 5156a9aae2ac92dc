#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "CaptionLabel.h"
#include "PanelTestSupport.h"

namespace Pannello2 {
namespace {

struct MemberCase {
    const char* name;
    std::function<void(Pannello&)> write;
    std::function<bool(const Pannello&)> readsBack;
};

template <typename Arg, typename Ret>
MemberCase Prop(const char* name, void (Pannello::*set)(Arg), Ret (Pannello::*get)() const, std::decay_t<Arg> value) {
    return {name, [=](Pannello& p) { (p.*set)(value); }, [=](const Pannello& p) { return (p.*get)() == value; }};
}

const Testo kText = "Juve && Toro\r\nnext";
constexpr Colore kColour = 0x123456;

std::vector<MemberCase> WritableMembers() {
    const FontRef font = MakeFont("Courier New", 11, false);
    const auto picture = std::make_shared<const Picture>(Picture{{1, 2, 3}});
    return {
        Prop("BackColor", &Pannello::SetBackColor, &Pannello::BackColor, kColour),
        Prop("ForeColor", &Pannello::SetForeColor, &Pannello::ForeColor, kColour),
        Prop("Font", &Pannello::SetFont, &Pannello::GetFont, font),
        Prop("BackStyle", &Pannello::SetBackStyle, &Pannello::BackStyle, std::int16_t{1}),
        Prop("BorderStyle", &Pannello::SetBorderStyle, &Pannello::BorderStyle, std::int16_t{-3}),
        Prop("Titolo", &Pannello::SetTitolo, &Pannello::Titolo, kText),
        Prop("TitoloColore", &Pannello::SetTitoloColore, &Pannello::TitoloColore, kColour),
        Prop("TitoloOmbra", &Pannello::SetTitoloOmbra, &Pannello::TitoloOmbra, kColour),
        Prop("Testo", &Pannello::SetTesto, &Pannello::GetTesto, kText),
        Prop("TestoColore", &Pannello::SetTestoColore, &Pannello::TestoColore, kColour),
        Prop("HT", &Pannello::SetHT, &Pannello::HT, kText),
        Prop("HTColore", &Pannello::SetHTColore, &Pannello::HTColore, kColour),
        Prop("FT", &Pannello::SetFT, &Pannello::FT, kText),
        Prop("FTColore", &Pannello::SetFTColore, &Pannello::FTColore, Colore{0x80000008}),
        Prop("HTTesto", &Pannello::SetHTTesto, &Pannello::HTTesto, kText),
        Prop("HTTestoColore", &Pannello::SetHTTestoColore, &Pannello::HTTestoColore, kColour),
        Prop("FTTesto", &Pannello::SetFTTesto, &Pannello::FTTesto, kText),
        Prop("FTTestoColore", &Pannello::SetFTTestoColore, &Pannello::FTTestoColore, kColour),
        Prop("InfoTesto", &Pannello::SetInfoTesto, &Pannello::InfoTesto, kText),
        Prop("InfoColore", &Pannello::SetInfoColore, &Pannello::InfoColore, kColour),
        Prop("Enabled", &Pannello::SetEnabled, &Pannello::Enabled, true),
        Prop("ScrollVerticale", &Pannello::SetScrollVerticale, &Pannello::ScrollVerticale, true),
        Prop("PictureTitolo", &Pannello::SetPictureTitolo, &Pannello::PictureTitolo, PictureRef(picture)),
        Prop("PictureTesto", &Pannello::SetPictureTesto, &Pannello::PictureTesto, PictureRef(picture)),
        Prop("PictureInfo", &Pannello::SetPictureInfo, &Pannello::PictureInfo, PictureRef(picture)),
        Prop("ScrollTesto", &Pannello::SetScrollTesto, &Pannello::ScrollTesto, kText),
        Prop("TitoloFont", &Pannello::SetTitoloFont, &Pannello::TitoloFont, font),
        Prop("TempoTesto", &Pannello::SetTempoTesto, &Pannello::TempoTesto, kText),
        Prop("TempoColore", &Pannello::SetTempoColore, &Pannello::TempoColore, kColour),
        Prop("MinutiTesto", &Pannello::SetMinutiTesto, &Pannello::MinutiTesto, kText),
        Prop("MinutiColore", &Pannello::SetMinutiColore, &Pannello::MinutiColore, kColour),
        Prop("TestoPic", &Pannello::SetTestoPic, &Pannello::TestoPic, Testo("[14]HT [15]")),
    };
}

TEST(PannelloMembers, EveryWriteReadsBackAndNotifiesItsNameOnce) {
    const std::vector<MemberCase> members = WritableMembers();
    ASSERT_EQ(members.size(), 32u);
    for (const MemberCase& member : members) {
        SCOPED_TRACE(member.name);
        TestPanel panel;
        member.write(*panel);
        EXPECT_TRUE(member.readsBack(*panel));
        EXPECT_EQ(panel.host.notifications, std::vector<std::string>{member.name});
    }
}

TEST(PannelloMembers, MethodsReturnFalseAndNotifyNothing) {
    const std::pair<const char*, std::function<bool(Pannello&)>> methods[] = {
        {"TitoloLampeggio", &Pannello::TitoloLampeggio},
        {"TitoloFisso", &Pannello::TitoloFisso},
        {"TestoLampeggio", &Pannello::TestoLampeggio},
        {"TestoFisso", &Pannello::TestoFisso},
        {"HTLampeggio", &Pannello::HTLampeggio},
        {"HTFisso", &Pannello::HTFisso},
        {"FTLampeggio", &Pannello::FTLampeggio},
        {"FTFisso", &Pannello::FTFisso},
        {"InfoLampeggio", &Pannello::InfoLampeggio},
        {"InfoFisso", &Pannello::InfoFisso},
        {"Pulisci", &Pannello::Pulisci}};
    for (const auto& [name, call] : methods) {
        SCOPED_TRACE(name);
        TestPanel panel;
        EXPECT_FALSE(call(*panel));
        EXPECT_TRUE(panel.host.notifications.empty());
    }
}

TEST(PannelloMembers, HostOnlyValuesLeaveTheSurfaceUnchanged) {
    TestPanel panel;
    panel->SetTitolo("Serie A");
    panel->SetTesto("Milan - Inter");
    const QImage before = panel->grab().toImage();
    panel->SetBackColor(0x0000FF);
    panel->SetForeColor(0x00FF00);
    panel->SetBackStyle(1);
    panel->SetBorderStyle(1);
    panel->SetEnabled(true);
    panel->SetFont(MakeFont("Times New Roman", 30, true));
    panel->SetTempoTesto("45");
    panel->SetMinutiColore(3);
    EXPECT_EQ(panel->grab().toImage(), before);
}

TEST(PannelloMembers, TitleWritesReachTheShadowButColoursStayApart) {
    TestPanel panel;
    panel->SetTitolo("Serie A");
    EXPECT_EQ(Label(*panel, "lblOmbraTitolo").Caption(), "Serie A");
    panel->SetTitolo("");
    EXPECT_EQ(panel->Titolo(), "");
    EXPECT_EQ(Label(*panel, "lblOmbraTitolo").Caption(), "");

    panel->SetTitoloColore(0x00FFFF);
    EXPECT_EQ(panel->TitoloOmbra(), 0x000000u);
    EXPECT_EQ(Label(*panel, "lblOmbraTitolo").palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(Label(*panel, "lblTitolo").palette().color(QPalette::WindowText), QColor(Qt::yellow));
}

TEST(PannelloMembers, TitleFontObjectIsSharedWithTheShadow) {
    TestPanel panel;
    const FontRef font = MakeFont("MS Sans Serif", 8.25, false);
    panel->SetTitoloFont(font);
    ASSERT_EQ(panel->TitoloFont(), font);
    EXPECT_EQ(Label(*panel, "lblOmbraTitolo").SharedFont(), font);

    panel->TitoloFont()->SetName("Verdana");
    panel->TitoloFont()->SetBold(true);
    panel->TitoloFont()->SetSize(20);
    for (const char* name : {"lblTitolo", "lblOmbraTitolo"}) {
        SCOPED_TRACE(name);
        const QFont shown = Label(*panel, name).font();
        EXPECT_EQ(shown.family(), "Verdana");
        EXPECT_TRUE(shown.bold());
        EXPECT_DOUBLE_EQ(shown.pointSizeF(), 20);
    }
}

TEST(PannelloMembers, CaptionsShowAsPlainTextWithClassicAmpersands) {
    TestPanel panel;
    const std::pair<Testo, QString> shown[] = {
        {"Milan && Inter", "Milan & Inter"},      {"&Casa", "Casa"},
        {"<b>bold</b>", "<b>bold</b>"},           {"uno\r\ndue", "uno\ndue"},
        {"Citt\xE0", QString::fromUtf8("Città")}, {"A && B &", "A & B &"},
        {"&\x81", QString(QChar(0x81))},
    };
    for (const auto& [caption, expected] : shown) {
        panel->SetTesto(caption);
        EXPECT_EQ(Label(*panel, "lblTesto").text(), expected);
        EXPECT_EQ(panel->GetTesto(), caption);
    }
    EXPECT_EQ(Label(*panel, "lblTesto").textFormat(), Qt::PlainText);
}

TEST(PannelloMembers, ClickComesOnlyFromTitleAndText) {
    TestPanel panel;
    ClickCounter sink;
    panel->Advise(&sink);
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.panel));

    const std::pair<const char*, int> targets[] = {{"lblTitolo", 1},      {"lblTesto", 1}, {"lblHT", 0},
                                                   {"lblRisultatoHT", 0}, {"lblFT", 0},    {"lblRisultatoFT", 0},
                                                   {"lblInfo", 0}};
    for (const auto& [name, clicks] : targets) {
        SCOPED_TRACE(name);
        sink.clicks = 0;
        QTest::mouseClick(&Label(*panel, name), Qt::LeftButton);
        EXPECT_EQ(sink.clicks, clicks);
    }
    sink.clicks = 0;
    QTest::mouseClick(&Strip(*panel, "picInfo"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(sink.clicks, 0);

    // A double click is two clicks, through the window as the system delivers it.
    const CaptionLabel& title = Label(*panel, "lblTitolo");
    QTest::mouseDClick(panel->windowHandle(), Qt::LeftButton, {}, title.mapTo(panel.panel, title.rect().center()));
    EXPECT_EQ(sink.clicks, 2);
    panel->Advise(nullptr);
}

TEST(PannelloMembers, SurfaceHasTheDesignedGeometry) {
    TestPanel panel;
    EXPECT_EQ(panel->size(), QSize(334, 98));
    EXPECT_EQ(Strip(*panel, "picTitolo").geometry(), QRect(-2, -2, 334, 24));
    EXPECT_EQ(Strip(*panel, "picTesto").geometry(), QRect(0, 23, 334, 52));
    EXPECT_EQ(Strip(*panel, "picInfo").geometry(), QRect(0, 75, 334, 23));
    // The title sits at 40 twips after creation (3 pixels, the nearest), its
    // shadow 45 right and 20 below.
    EXPECT_EQ(Label(*panel, "lblTitolo").TopTwips(), 40);
    EXPECT_EQ(Label(*panel, "lblTitolo").y(), 3);
    EXPECT_EQ(Label(*panel, "lblOmbraTitolo").geometry().topLeft(), QPoint(10, 4));
    const std::pair<const char*, int> infoLefts[] = {
        {"lblHT", 95}, {"lblRisultatoHT", 123}, {"lblFT", 153}, {"lblRisultatoFT", 181}, {"lblInfo", 217}};
    for (const auto& [name, left] : infoLefts) EXPECT_EQ(Label(*panel, name).x(), left) << name;
}

}  // namespace
}  // namespace Pannello2
