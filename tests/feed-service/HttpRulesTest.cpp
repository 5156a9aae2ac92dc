#include "feed/service/HttpRules.h"

#include <gtest/gtest.h>

namespace caltrix::feed {
namespace {

TEST(HttpRules, RefusesEveryAmbiguousBodyLengthAndOversizedHead) {
    const HttpFields sound[] = {
        {{"host", "x"}},
        {{"content-length", "29"}},
        {{"content-length", "29"}, {"content-length", "29"}},
        {{"transfer-encoding", "Chunked"}},
    };
    for (const HttpFields& headers : sound) EXPECT_EQ(HeadRefusal(headers, 100), 0) << headers[0].second;

    const HttpFields ambiguous[] = {
        {{"content-length", "29, 29"}},
        {{"content-length", "0x1f"}},
        {{"content-length", "-1"}},
        {{"content-length", "+5"}},
        {{"content-length", ""}},
        {{"content-length", "12345678901234567890"}},
        {{"content-length", "0"}, {"content-length", "29"}},
        {{"transfer-encoding", ""}},
        {{"transfer-encoding", "gzip, chunked"}},
        {{"transfer-encoding", "chunked"}, {"content-length", "5"}},
        {{"content-length9", "2"}},  // "Content-Length: 2" folded onto " 9"
        {{"content-length ", "5"}},
        {{"x-a", "a\r\nContent-Length: 5"}},
    };
    for (const HttpFields& headers : ambiguous)
        EXPECT_EQ(HeadRefusal(headers, 100), 400) << headers[0].first << ": " << headers[0].second;

    EXPECT_EQ(HeadRefusal({{"host", "x"}}, kMaxHeadBytes), 0);
    EXPECT_EQ(HeadRefusal({{"host", "x"}}, kMaxHeadBytes + 1), 431);
}

TEST(HttpRules, TakesAnOriginOnlyFromAValidHostAndPort) {
    EXPECT_EQ(OriginOf("feed:8080"), "http://feed:8080");
    EXPECT_EQ(OriginOf("bar-12.example.com"), "http://bar-12.example.com");
    EXPECT_EQ(OriginOf("192.168.1.5:80"), "http://192.168.1.5:80");
    EXPECT_EQ(OriginOf("[::1]:8080"), "http://[::1]:8080");
    for (const char* host : {"x/public/config.txt?", "x:8080/y", "a b", "x:", "x:99999", "x:80:80", "user@x", "", ".x",
                             "x\"><script>", "[::1"})
        EXPECT_FALSE(OriginOf(host)) << host;
}

TEST(HttpRules, TheExactPathOrTheLongestFolderTakesARequest) {
    const std::vector<HttpRoute> routes{{"/", {}, 0, {}}, {"/feed/screens/", {}, 0, {}}, {"/feed/status", {}, 0, {}}};
    EXPECT_EQ(RouteFor(routes, "/feed/status")->path, "/feed/status");
    EXPECT_EQ(RouteFor(routes, "/feed/screens/bar-1/picture")->path, "/feed/screens/");
    EXPECT_EQ(RouteFor(routes, "/feed/statusx")->path, "/");
    EXPECT_EQ(RouteFor({routes[2]}, "/other"), nullptr);
    EXPECT_EQ(AllowedMethods({"/", {"GET", "HEAD", "PUT"}, 0, {}}), "GET, HEAD, PUT");
}

}  // namespace
}  // namespace caltrix::feed
