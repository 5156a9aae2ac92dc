#include "tests/fleet/FleetSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace caltrix::fleet::test {
namespace {

namespace fs = std::filesystem;

struct StateFolderTest : ::testing::Test {
    caltrix::testing::TempFolder temp;
    const fs::path folder = temp / "state";
};

TEST_F(StateFolderTest, ARestartKeepsEveryScreenAndLeavesOutBrokenFiles) {
    {
        FleetBench bench(folder);
        ASSERT_EQ(bench.Report("bar-1", StatusDocument(true)).status, 200);
        ASSERT_EQ(bench.Picture("bar-1", JpegBody(4000)).status, 200);
        ASSERT_EQ(bench.Report("bar-2").status, 200);
        ASSERT_EQ(bench.Report("gone").status, 200);
        bench.fleet->FlushState();
        ASSERT_EQ(bench.Call("DELETE", "/feed/screens/gone", {}, Bearer(kOperatorToken)).status, 200);
    }
    std::ofstream(folder / "broken.json") << "{\"program\":";
    std::ofstream(folder / "bad name!.json") << StatusDocument();
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp")) << entry.path();

    FleetBench restarted(folder);
    const auto screens = restarted.fleet->Registry().Screens();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].name, "bar-1");
    EXPECT_TRUE(screens[0].report->stale);
    EXPECT_EQ(screens[0].reportTime, restarted.now);
    ASSERT_TRUE(screens[0].picture);
    EXPECT_EQ(screens[0].picture->size(), 4000u);
    EXPECT_EQ(screens[1].name, "bar-2");
    EXPECT_FALSE(screens[1].picture);
}

}  // namespace
}  // namespace caltrix::fleet::test
