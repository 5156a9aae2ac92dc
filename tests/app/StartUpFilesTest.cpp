#include "app/shell/StartUpFiles.h"

#include "common/LineFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace caltrix {
namespace {

namespace fs = std::filesystem;

class StartUpFilesTest : public ::testing::Test {
protected:
    void touch(const fs::path& path) { WriteWholeFile(path, "x"); }

    testing::TempFolder folder;
    const fs::path& program = folder.path();
};

TEST_F(StartUpFilesTest, WorkFolderIsTempValueOrProgramTempFolder) {
    EXPECT_EQ(SettleWorkFolder(program, std::string("/var/tmp/x")), fs::path("/var/tmp/x"));
    EXPECT_EQ(SettleWorkFolder(program, std::string(" a ")), fs::path(" a "));  // taken unchanged
    EXPECT_FALSE(fs::exists(program / "Temp"));

    for (const std::optional<std::string>& blank :
         {std::optional<std::string>{}, std::optional<std::string>{""}, std::optional<std::string>{"   "}}) {
        EXPECT_EQ(SettleWorkFolder(program, blank), program / "Temp");
        EXPECT_TRUE(fs::is_directory(program / "Temp"));  // created once, then reused as it is
    }
}

TEST_F(StartUpFilesTest, WorkFolderThatCannotBeCreatedIsAnError) {
    touch(program / "Temp");  // a file squats on the folder's name
    EXPECT_THROW(SettleWorkFolder(program, std::nullopt), FileError);
}

TEST_F(StartUpFilesTest, DeletesOnlyThePreviousRunsResultFiles) {
    const fs::path work = program / "Temp";
    fs::create_directories(work);
    for (const char* name : {"video1.txt", "video1000.txt", "lmVideo3.txt", "LMVideo11.txt", "lmvideo7.txt",
                             "video4.txt.tmp", "lmVideo2.txt.TMP"})
        touch(program / name);
    ASSERT_EQ(::mkfifo((work / "sport1").c_str(), 0600), 0);  // removed without waiting for a writer
    const char* kept[] = {"video0.txt",  "video1001.txt", "video01.txt", "lmVideo1.txt.bak", "qesa.ris",
                          "lumetra.htm", "videoX.txt",    "video5.tmp",  "video0.txt.tmp"};
    for (const char* name : kept) touch(program / name);
    fs::create_directories(program / "video2.txt");  // a folder is not a file that exists

    EXPECT_EQ(DeletePreviousRunFiles(program, work), 8);
    EXPECT_FALSE(fs::exists(work / "sport1"));
    EXPECT_FALSE(fs::exists(program / "LMVideo11.txt"));
    EXPECT_FALSE(fs::exists(program / "lmVideo2.txt.TMP"));
    for (const char* name : kept) EXPECT_TRUE(fs::exists(program / name)) << name;
    EXPECT_TRUE(fs::is_directory(program / "video2.txt"));
}

TEST_F(StartUpFilesTest, StartPageReplacesTheMarkerLineAsAWhole) {
    struct Case {
        const char* name;
        std::string templateText;
        std::string page;
    } cases[] = {
        {"marker with text around", "<html>\r\nbefore << after\r\n</html>",
         "<html>\r\n<font face=\"Verdana\">Lumetra 0.1 Beta\r\n</html>\r\n"},
        {"single angle bracket kept", "a < b\r\n", "a < b\r\n"},
        {"lone CR ends a line too", "x\r<<", "x\r\n<font face=\"Verdana\">Lumetra 0.1 Beta\r\n"},
        {"empty template", "", ""},
    };
    for (const auto& c : cases) {
        WriteWholeFile(program / "lumetra.htm", c.templateText);
        GenerateStartPage(program / "lumetra.htm", program / "lumetra2.htm");
        EXPECT_EQ(ReadWholeFile(program / "lumetra2.htm"), c.page) << c.name;
    }
}

TEST_F(StartUpFilesTest, MissingTemplateStopsStartUp) {
    EXPECT_THROW(GenerateStartPage(program / "lumetra.htm", program / "lumetra2.htm"), FileError);
}

TEST_F(StartUpFilesTest, OnlyOneHolderOfTheInstanceLock) {
    auto first = std::make_unique<InstanceLock>(program / ".lock");
    EXPECT_TRUE(first->IsFirstInstance());
    {
        InstanceLock second(program / ".lock");
        EXPECT_FALSE(second.IsFirstInstance());
    }
    first.reset();
    InstanceLock third(program / ".lock");
    EXPECT_TRUE(third.IsFirstInstance());
}

}  // namespace
}  // namespace caltrix
