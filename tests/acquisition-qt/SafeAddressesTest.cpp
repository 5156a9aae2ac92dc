#include "acquisition/SafeAddresses.h"

#include <gtest/gtest.h>

namespace caltrix {
namespace {

const QUrl kEndpoint(QStringLiteral("http://operator.example:8080"));

TEST(BannerAddressTest, PagesStayUnderPublicOnTheEndpoint) {
    const struct {
        const char* page;
        const char* address;
    } cases[] = {
        {"page.htm", "http://operator.example:8080/public/page.htm"},
        {"ads/left.htm?slot=1", "http://operator.example:8080/public/ads/left.htm?slot=1"},
        {"", "http://operator.example:8080/public/"},
        {"a b.htm", "http://operator.example:8080/public/a%20b.htm"},
    };
    for (const auto& c : cases) {
        const auto address = BannerAddress(kEndpoint, QString::fromLatin1(c.page));
        ASSERT_TRUE(address.has_value()) << c.page;
        EXPECT_EQ(address->toString(QUrl::FullyEncoded), QString::fromLatin1(c.address)) << c.page;
    }
}

TEST(BannerAddressTest, RefusesValuesThatLeavePublicOrTheEndpoint) {
    for (const char* page : {"../secret.txt", "a/../../secret.txt", "%2e%2e/secret.txt", "%252e%252e/x",
                             "..%2fsecret.txt", "..\\secret.txt", "/etc/passwd", "//evil.example/x",
                             "http://evil.example/x", "https://operator.example:8080/public/x", "file:///etc/passwd",
                             "javascript:alert(1)", "./../x"}) {
        EXPECT_FALSE(BannerAddress(kEndpoint, QString::fromLatin1(page)).has_value()) << page;
    }
}

TEST(LinkTargetTest, OnlyHttpAndHttpsAddressesAreOpened) {
    for (const char* target : {"http://www.example.com/", "https://example.com:8443/a?b=c", "HTTP://Example.com"})
        EXPECT_TRUE(IsSafeLinkTarget(QString::fromLatin1(target))) << target;
    for (const char* target : {"", "www.example.com", "file:///etc/passwd", "javascript:alert(1)",
                               "data:text/html,<b>x</b>", "ftp://example.com/", "http://", "http:///path",
                               "about:blank", "chrome://settings"})
        EXPECT_FALSE(IsSafeLinkTarget(QString::fromLatin1(target))) << target;
}

}  // namespace
}  // namespace caltrix
