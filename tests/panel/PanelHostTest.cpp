#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLibraryInfo>
#include <QWidget>

#include <gtest/gtest.h>

#include "JsonPropertyBag.h"
#include "PanelHostError.h"
#include "PanelLibrary.h"
#include "PanelTestSupport.h"
#include "SavedPanel.h"
#include "tests/support/TempFolder.h"

namespace caltrix {
namespace {

using namespace Pannello2;

const QString kPluginPath = QStringLiteral(PANNELLO_PLUGIN_PATH);
const QString kPanelsDir = QStringLiteral(CALTRIX_PANELS_DIR);

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Runs `action`, expecting a PanelHostError whose message names `path`.
template <typename Action>
void ExpectErrorNaming(const QString& path, Action action) {
    try {
        action();
        ADD_FAILURE() << "no error for " << path.toStdString();
    } catch (const PanelHostError& error) {
        EXPECT_NE(std::string(error.what()).find(path.toStdString()), std::string::npos) << error.what();
    }
}

TEST(PanelLibrary, CreatesWorkingPanelsThroughThePlugin) {
    PanelLibrary library(kPluginPath);
    RecordingHost host;
    QWidget parent;
    _Pannello* panel = library.Create(&parent, &host);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Widget()->parent(), &parent);
    EXPECT_EQ(panel->Widget()->size(), QSize(334, 98));
    EXPECT_FALSE(library.CanUnloadNow());
    panel->InitNew();
    panel->SetTitolo("Serie A");
    EXPECT_EQ(panel->Titolo(), "Serie A");
    EXPECT_EQ(host.notifications.back(), "Titolo");
    EXPECT_FALSE(panel->PictureInfo()->encoded.empty()) << "built-in pictures ship inside the library";
    EXPECT_THROW(panel->SetTestoPic("[16]"), MarkupError);
    delete panel->Widget();
    EXPECT_TRUE(library.CanUnloadNow());
}

TEST(PanelLibrary, MissingOrForeignLibraryIsAClearError) {
    testing::TempFolder dir;
    const QString missing = dir.qtPath("libPannello.so");
    ExpectErrorNaming(missing, [&] { PanelLibrary library(missing); });

    const QString notALibrary = dir.qtPath("libBroken.so");
    WriteFile(notALibrary, "not a library");
    ExpectErrorNaming(notALibrary, [&] { PanelLibrary library(notALibrary); });

    const QString otherPlugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqoffscreen.so";
    ASSERT_TRUE(QFile::exists(otherPlugin));
    ExpectErrorNaming(otherPlugin, [&] { PanelLibrary library(otherPlugin); });
}

TEST(JsonPropertyBag, MatchesKeysWithoutCaseAndConvertsTexts) {
    JsonPropertyBag bag(QJsonObject{{"httesto", QString::fromUtf8("3-0 città")}});
    EXPECT_EQ(std::get<Testo>(*bag.Read("HTTesto")), "3-0 citt\xE0");
    EXPECT_FALSE(bag.Read("FTTesto").has_value());

    bag.Write("HTTESTO", Testo("1-1 \xE8"));
    EXPECT_EQ(bag.Object().size(), 1);
    EXPECT_EQ(bag.Object().value("HTTESTO").toString(), QString::fromUtf8("1-1 è"));
}

TEST(JsonPropertyBag, KeepsEveryValueKind) {
    JsonPropertyBag bag;
    bag.Write("Colore", std::int32_t{0x00FFFF});
    bag.Write("Flag", true);
    bag.Write("Font", MakeFont("Verdana", 14.25, true));
    bag.Write("Picture", PictureRef(std::make_shared<const Picture>(Picture{{0, 255, 7}})));

    testing::TempFolder dir;
    const QString path = dir.qtPath("state.json");
    bag.SaveToFile(path);
    const JsonPropertyBag loaded = JsonPropertyBag::LoadFromFile(path);
    EXPECT_EQ(std::get<std::int32_t>(*loaded.Read("colore")), 0x00FFFF);
    EXPECT_TRUE(std::get<bool>(*loaded.Read("flag")));
    const FontRef font = std::get<FontRef>(*loaded.Read("font"));
    EXPECT_EQ(font->Name(), "Verdana");
    EXPECT_DOUBLE_EQ(font->Size(), 14.25);
    EXPECT_TRUE(font->Bold());
    EXPECT_EQ(std::get<PictureRef>(*loaded.Read("picture"))->encoded, (std::vector<unsigned char>{0, 255, 7}));
}

TEST(JsonPropertyBag, ValuesNoKeyCanHoldAreTypeMismatches) {
    const JsonPropertyBag bag(QJsonObject{{"Fraction", 1.5},
                                          {"Huge", 1e12},
                                          {"Nothing", QJsonValue::Null},
                                          {"List", QJsonArray{1}},
                                          {"BadFont", QJsonObject{{"name", 3}}},
                                          {"BadPicture", QJsonObject{{"picture", "@@@"}}}});
    for (const char* key : {"Fraction", "Huge", "Nothing", "List", "BadFont", "BadPicture"}) {
        EXPECT_THROW(bag.Read(key), TypeMismatch) << key;
    }
}

TEST(JsonPropertyBag, MissingOrBrokenFileIsAClearError) {
    testing::TempFolder dir;
    const QString missing = dir.qtPath("missing.json");
    ExpectErrorNaming(missing, [&] { JsonPropertyBag::LoadFromFile(missing); });
    for (const QByteArray& broken : {QByteArray("{\"Titolo\": "), QByteArray("[1, 2]")}) {
        const QString path = dir.qtPath("broken.json");
        WriteFile(path, broken);
        ExpectErrorNaming(path, [&] { JsonPropertyBag::LoadFromFile(path); });
    }
    ExpectErrorNaming(dir.qtPath(), [&] { JsonPropertyBag{}.SaveToFile(dir.qtPath()); });
}

TEST(JsonPropertyBag, PanelStateSurvivesSaveAndLoad) {
    TestPanel first;
    first->SetTitolo("Coppa & Lega");
    first->SetHTTestoColore(0x0000FF);
    first->TitoloFont()->SetSize(16);
    JsonPropertyBag bag;
    first->Save(bag);

    TestPanel second(&bag);
    EXPECT_EQ(second->Titolo(), "Coppa & Lega");
    EXPECT_EQ(second->HTTestoColore(), 0x0000FFu);
    EXPECT_DOUBLE_EQ(second->TitoloFont()->Size(), 16);
    EXPECT_EQ(second->GetTesto(), "");
}

TEST(SavedPanel, ShippedStatesLoadWithEmptyCaptionsAndTheirTitleFonts) {
    PanelLibrary library(kPluginPath);
    RecordingHost host;
    QWidget parent;
    const QStringList verdana = {"slot9", "slot10", "slot11", "solo"};
    QStringList names = {"solo"};
    for (int slot = 1; slot <= 11; ++slot) names << QStringLiteral("slot%1").arg(slot);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        _Pannello* panel = CreateSavedPanel(library, &parent, &host, kPanelsDir + "/" + name + ".json");
        for (const Testo& caption : {panel->Titolo(), panel->GetTesto(), panel->HT(), panel->FT(), panel->HTTesto(),
                                     panel->FTTesto(), panel->InfoTesto()}) {
            EXPECT_EQ(caption, "");
        }
        EXPECT_EQ(panel->GetFont()->Name(), "MS Sans Serif");
        EXPECT_DOUBLE_EQ(panel->GetFont()->Size(), 8.25);
        const bool big = verdana.contains(name);
        EXPECT_EQ(panel->TitoloFont()->Name(), big ? "Verdana" : "MS Sans Serif");
        EXPECT_DOUBLE_EQ(panel->TitoloFont()->Size(), big ? 14.25 : 8.25);
        EXPECT_EQ(panel->TitoloFont()->Bold(), big);
    }
    // Only the initialisation notifies; the restore itself does not.
    EXPECT_EQ(host.notifications, std::vector<std::string>(names.size(), "ScrollVerticale"));
}

TEST(SavedPanel, UnreadableStateIsAClearErrorAndLeavesNoPanel) {
    PanelLibrary library(kPluginPath);
    RecordingHost host;
    QWidget parent;
    testing::TempFolder dir;
    const QString missing = dir.qtPath("slot1.json");
    ExpectErrorNaming(missing, [&] { CreateSavedPanel(library, &parent, &host, missing); });
    const QString mismatched = dir.qtPath("slot2.json");
    WriteFile(mismatched, R"({"Titolo": "x", "TitoloColore": "white"})");
    ExpectErrorNaming(mismatched, [&] { CreateSavedPanel(library, &parent, &host, mismatched); });
    EXPECT_TRUE(parent.children().isEmpty());
    EXPECT_TRUE(library.CanUnloadNow());
}

}  // namespace
}  // namespace caltrix
