#include <gtest/gtest.h>

#include <set>

#include "BuiltinPictures.h"
#include "CaptionLabel.h"
#include "PanelTestSupport.h"

namespace Pannello2 {
namespace {

std::set<std::string> Keys(const MemoryBag& bag) {
    std::set<std::string> keys;
    for (const auto& [key, value] : bag.values) keys.insert(key);
    return keys;
}

TEST(PannelloPersistence, EmptyBagRestoresTheDefaults) {
    const MemoryBag empty;
    TestPanel panel(&empty);
    EXPECT_EQ(panel->Titolo(), "Label1");
    EXPECT_EQ(Label(*panel, "lblOmbraTitolo").Caption(), "");
    EXPECT_EQ(panel->GetTesto(), "Label2");
    EXPECT_EQ(panel->HT(), "HT");
    EXPECT_EQ(panel->FT(), "FT");
    EXPECT_EQ(panel->HTTesto(), "0-0");
    EXPECT_EQ(panel->FTTesto(), "0-0");
    EXPECT_EQ(panel->InfoTesto(), "Giocatore");
    EXPECT_EQ(panel->TitoloColore(), 0xFFFFFFu);
    EXPECT_EQ(panel->TitoloOmbra(), 0x000000u);
    EXPECT_EQ(panel->TestoColore(), 0xFFFFFFu);
    EXPECT_EQ(panel->HTColore(), 0x0000FFu);
    EXPECT_EQ(panel->FTColore(), 0x0000FFu);
    EXPECT_EQ(panel->HTTestoColore(), 0xFFFFFFu);
    EXPECT_EQ(panel->FTTestoColore(), 0xFFFFFFu);
    EXPECT_EQ(panel->InfoColore(), 0x00FFFFu);
    EXPECT_FALSE(panel->Enabled());
    EXPECT_FALSE(panel->ScrollVerticale());
    EXPECT_EQ(panel->TempoColore(), 15u);
    EXPECT_EQ(panel->MinutiColore(), 15u);
    EXPECT_EQ(panel->ScrollTesto(), "");
    EXPECT_EQ(panel->TempoTesto(), "");
    EXPECT_EQ(panel->MinutiTesto(), "");
    EXPECT_EQ(panel->TestoPic(), "");
    EXPECT_EQ(panel->GetFont()->Name(), "MS Sans Serif");
    EXPECT_TRUE(panel.host.notifications.empty());
}

TEST(PannelloPersistence, FirstPlacementSavesFontsAndEmptyCaptionsOnly) {
    TestPanel panel;
    MemoryBag bag;
    panel->Save(bag);
    EXPECT_EQ(Keys(bag), (std::set<std::string>{"font", "titolo", "testo", "ht", "ft", "httesto", "fttesto",
                                                "infotesto", "titolofont"}));
    EXPECT_EQ(std::get<Testo>(bag.values["httesto"]), "");
    const FontRef title = std::get<FontRef>(bag.values["titolofont"]);
    EXPECT_EQ(title->Name(), "Verdana");
    EXPECT_TRUE(title->Bold());
    EXPECT_DOUBLE_EQ(title->Size(), 14);
    EXPECT_EQ(std::get<FontRef>(bag.values["font"])->Name(), "MS Sans Serif");
}

TEST(PannelloPersistence, FirstPlacementSharesTheAmbientTitleFontAndNotifiesIt) {
    RecordingHost host;
    Pannello* panel = CreateInitialisedPannello(nullptr, &host);
    host.notifications.clear();
    panel->InitNew();
    EXPECT_EQ(host.notifications, std::vector<std::string>{"TitoloFont"});
    EXPECT_EQ(Label(*panel, "lblOmbraTitolo").SharedFont(), panel->TitoloFont());
    EXPECT_NE(panel->GetFont(), panel->TitoloFont());
    delete panel;
}

TEST(PannelloPersistence, ValuesRoundTripAndDefaultsAreNotWritten) {
    TestPanel first;
    first->SetHTTesto("3-0");
    first->SetFTTesto("");
    first->SetInfoColore(0x00FF00);
    first->SetTempoTesto("45'");
    first->SetBackStyle(1);
    first->SetEnabled(true);
    MemoryBag bag;
    first->Save(bag);
    EXPECT_EQ(bag.values.count("fttesto"), 1u) << "empty is not the default \"0-0\"";

    first->SetFTTesto("0-0");
    bag.values.clear();
    first->Save(bag);
    EXPECT_EQ(bag.values.count("fttesto"), 0u);

    TestPanel second(&bag);
    EXPECT_EQ(second->HTTesto(), "3-0");
    EXPECT_EQ(second->FTTesto(), "0-0");
    EXPECT_EQ(second->InfoColore(), 0x00FF00u);
    EXPECT_EQ(second->TempoTesto(), "45'");
    EXPECT_EQ(second->BackStyle(), 1);
    EXPECT_TRUE(second->Enabled());
}

TEST(PannelloPersistence, RestoreWritesStraightIntoElementsWithoutSideEffects) {
    MemoryBag bag;
    bag.Write("Titolo", Testo("Serie A"));
    bag.Write("ScrollVerticale", true);
    bag.Write("TestoPic", Testo("[14]HT [15]"));
    bag.Write("TitoloFont", MakeFont("Times New Roman", 12, false));
    TestPanel panel(&bag);

    EXPECT_EQ(Label(*panel, "lblOmbraTitolo").Caption(), "");
    EXPECT_EQ(Label(*panel, "lblOmbraTitolo").SharedFont()->Name(), "Verdana");
    EXPECT_EQ(panel->TitoloFont()->Name(), "Times New Roman");
    EXPECT_EQ(panel->GetTesto(), "Label2");

    EXPECT_TRUE(panel->ScrollVerticale());
    EXPECT_FALSE(panel->TimerActive(PanelTimer::Scroll));
    panel->SetScrollVerticale(true);
    EXPECT_TRUE(panel->TimerActive(PanelTimer::Scroll));

    // The stored markup is not drawn: the blink keeps drawing the empty copy.
    EXPECT_EQ(panel->TestoPic(), "[14]HT [15]");
    const QImage before = InfoStripImage(*panel);
    panel.second = 1;
    panel->Tick(PanelTimer::TestoPic);
    panel->HTFisso();
    EXPECT_EQ(InfoStripImage(*panel), before);
}

TEST(PannelloPersistence, StripPicturesAreNotSavedButTheSurfaceBeneathIs) {
    const auto assigned = std::make_shared<const Picture>(Picture{{9, 9, 9}});
    TestPanel first;
    first->SetPictureInfo(assigned);
    MemoryBag bag;
    first->Save(bag);
    EXPECT_EQ(bag.values.count("pictureinfo"), 0u);
    TestPanel second(&bag);
    EXPECT_EQ(second->PictureInfo(), BuiltinPicture(Strip::Info));
    EXPECT_FALSE(second->PictureInfo()->encoded.empty());

    // All three keys hold the one surface picture; the last one read wins.
    MemoryBag withSurface;
    withSurface.Write("PictureTitolo", std::make_shared<const Picture>(Picture{{1}}));
    withSurface.Write("PictureInfo", PictureRef(assigned));
    TestPanel third(&withSurface);
    EXPECT_EQ(third->PictureTesto(), BuiltinPicture(Strip::Testo));
    MemoryBag saved;
    third->Save(saved);
    for (const char* key : {"picturetitolo", "picturetesto", "pictureinfo"}) {
        EXPECT_EQ(std::get<PictureRef>(saved.values.at(key)), assigned) << key;
    }
}

TEST(PannelloPersistence, WrongTypeStopsTheRestoreAtThatKey) {
    // Text for a colour, and a 16-bit value out of its range, which is not cut down.
    const std::pair<const char*, PropertyValue> wrong[] = {{"TitoloColore", Testo("white")},
                                                           {"BorderStyle", std::int32_t{40000}}};
    for (const auto& [key, value] : wrong) {
        SCOPED_TRACE(key);
        MemoryBag bag;
        bag.Write("BackStyle", std::int32_t{-32768});
        bag.Write("Testo", Testo("never read"));
        bag.Write(key, value);
        RecordingHost host;
        Pannello* panel = CreateInitialisedPannello(nullptr, &host);
        try {
            panel->Load(bag);
            ADD_FAILURE() << "no failure";
        } catch (const TypeMismatch& mismatch) {
            EXPECT_EQ(mismatch.key(), key);
        }
        EXPECT_EQ(panel->BackStyle(), -32768);
        EXPECT_EQ(panel->GetTesto(), "");
        delete panel;
    }
}

TEST(PannelloPersistence, NullAmbientFontFallsBackToTheDefaultFont) {
    class NoFontHost : public RecordingHost {
        FontRef AmbientFont() override { return nullptr; }
    } host;
    Pannello* placed = CreateInitialisedPannello(nullptr, &host);
    placed->InitNew();
    Pannello* restored = CreateInitialisedPannello(nullptr, &host);
    restored->Load(MemoryBag{});
    for (Pannello* panel : {placed, restored}) {
        EXPECT_EQ(panel->GetFont()->Name(), "MS Sans Serif");
        ASSERT_NE(panel->TitoloFont(), nullptr);
        delete panel;
    }
}

}  // namespace
}  // namespace Pannello2
