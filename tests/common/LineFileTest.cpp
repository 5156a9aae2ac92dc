#include "common/LineFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace caltrix {
namespace {

using Lines = std::vector<std::string>;

// The one line rule every reader of the program's files follows.
TEST(ForEachLine, CrLfAndLoneCrEndLinesButLoneLfDoesNot) {
    const auto split = [](std::string_view text) {
        Lines lines;
        ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
        return lines;
    };
    EXPECT_EQ(split(""), Lines{});
    EXPECT_EQ(split("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(split("a\rb"), (Lines{"a", "b"}));
    EXPECT_EQ(split("a\nb\nc"), (Lines{"a\nb\nc"}));
    EXPECT_EQ(split("\r\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(split("a\r\r\nb"), (Lines{"a", "", "b"}));
}

class FileTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    const std::filesystem::path& dir = folder.path();
};

TEST_F(FileTest, OnlyRegularFilesAreOpenedAndAFifoNeverBlocks) {
    WriteWholeFile(dir / "empty", "");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_TRUE(EsisteFile(dir / "empty"));
    for (const auto& path : {dir / "missing", dir, dir / "no-such-folder" / "file", dir / "fifo"}) {
        EXPECT_FALSE(EsisteFile(path)) << path;
        EXPECT_THROW(ReadWholeFile(path), FileError) << path;
    }
    EXPECT_THROW(WriteWholeFile(dir / "fifo", "x"), FileError);
    EXPECT_THROW(WriteWholeFile(dir, "x"), FileError);
    EXPECT_TRUE(FileBytes(dir / "empty").bytes().empty());
    EXPECT_THROW(FileBytes(dir / "fifo"), FileError);
    EXPECT_THROW(FileBytes(dir / "missing"), FileError);
}

// More pieces than one system call takes, empty ones among them, and a
// file large enough to be mapped when read back.
TEST_F(FileTest, WritesPiecesInOrder) {
    std::vector<std::string> numbers;
    for (int i = 0; i < 3000; ++i) numbers.push_back(i % 7 == 0 ? "" : std::to_string(i) + std::string(400, ','));
    const std::vector<std::string_view> pieces(numbers.begin(), numbers.end());
    WriteFileAtomically(dir / "pieces.txt", pieces);
    std::string joined;
    for (const std::string& number : numbers) joined += number;
    EXPECT_EQ(FileBytes(dir / "pieces.txt").bytes(), joined);
}

TEST_F(FileTest, WritesAndReadsBytesUnchanged) {
    WriteFileAtomically(dir / "f.txt", "x\r\n\xE0\r\n");
    EXPECT_EQ(ReadWholeFile(dir / "f.txt"), "x\r\n\xE0\r\n");
    EXPECT_EQ(ReadWholeFile(dir / "f.txt", 6), "x\r\n\xE0\r\n");
    EXPECT_THROW(ReadWholeFile(dir / "f.txt", 5), FileError);  // larger than the limit
    EXPECT_EQ(ReadLines(dir / "f.txt"), (Lines{"x", "\xE0"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "f.txt.tmp"));
    DeleteFileIfPresent(dir / "f.txt");
    DeleteFileIfPresent(dir / "f.txt");
    EXPECT_FALSE(EsisteFile(dir / "f.txt"));
    EXPECT_THROW(ReadWholeFile(dir / "f.txt"), FileError);
}

}  // namespace
}  // namespace caltrix
