#include "common/LineFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace caltrix {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, CrLfAndLoneCrEndLinesButLoneLfDoesNot) {
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\rb"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\nb\nc"), (Lines{"a\nb\nc"}));
    EXPECT_EQ(SplitLines("\r\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
}

class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("caltrix-common-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(FileTest, EsisteFileIsTrueOnlyForReadableFiles) {
    WriteWholeFile(dir / "empty", "");
    EXPECT_TRUE(EsisteFile(dir / "empty"));
    EXPECT_FALSE(EsisteFile(dir / "missing"));
    EXPECT_FALSE(EsisteFile(dir));
    EXPECT_FALSE(EsisteFile(dir / "no-such-folder" / "file"));
}

TEST_F(FileTest, WritesAndReadsBytesUnchanged) {
    WriteFileAtomically(dir / "f.txt", "x\r\n\xE0\r\n");
    EXPECT_EQ(ReadWholeFile(dir / "f.txt"), "x\r\n\xE0\r\n");
    EXPECT_EQ(ReadLines(dir / "f.txt"), (Lines{"x", "\xE0"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "f.txt.tmp"));
    DeleteFileIfPresent(dir / "f.txt");
    DeleteFileIfPresent(dir / "f.txt");
    EXPECT_FALSE(EsisteFile(dir / "f.txt"));
    EXPECT_THROW(ReadWholeFile(dir / "f.txt"), FileError);
}

}  // namespace
}  // namespace caltrix
