#include "acquisition/PageCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace caltrix {
namespace {

TEST(LooksLikeLiveScorePage, RealPagesEvenWithoutMatchesButNotWhatElseASiteSends) {
    EXPECT_TRUE(LooksLikeLiveScorePage("<TR>\r\n<TD class=title colspan=4>Italy - Serie A</TD></TR>"));
    EXPECT_TRUE(LooksLikeLiveScorePage("<DIV>No matches today</DIV>\r\n<SCRIPT>var t=new Date();</SCRIPT>"));
    EXPECT_FALSE(LooksLikeLiveScorePage(""));
    EXPECT_FALSE(LooksLikeLiveScorePage("<H1>500 Internal Server Error</H1>"));
    EXPECT_FALSE(LooksLikeLiveScorePage(std::string("\x89PNG\r\n\x1a\n\0\0garbage", 16)));
}

}  // namespace
}  // namespace caltrix
