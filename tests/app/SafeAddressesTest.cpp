#include "app/shell/SafeAddresses.h"
#include "common/qt/HttpAddress.h"

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
    for (const char* page :
         {"../secret.txt", "a/../../secret.txt", "%2e%2e/secret.txt", "%252e%252e/x", "..%2fsecret.txt",
          "..\\secret.txt", "/etc/passwd", "//evil.example/x", "http://evil.example/x",
          "https://operator.example:8080/public/x", "file:///etc/passwd", "javascript:alert(1)", "./../x"}) {
        EXPECT_FALSE(BannerAddress(kEndpoint, QString::fromLatin1(page)).has_value()) << page;
    }
}

TEST(LinkTargetTest, OnlyHttpAndHttpsAddressesAreOpenedAndABareHostIsHttp) {
    const struct {
        const char* target;
        const char* address;
    } opened[] = {
        {"http://www.example.com/", "http://www.example.com/"},
        {"https://example.com:8443/a?b=c", "https://example.com:8443/a?b=c"},
        {"HTTP://Example.com", "http://example.com"},
        {"www.example.it", "http://www.example.it"},
        {"  www.example.it/page.htm\t", "http://www.example.it/page.htm"},
        {"127.0.0.1:8080/x", "http://127.0.0.1:8080/x"},
    };
    for (const auto& c : opened) {
        const auto address = HttpAddress(QString::fromLatin1(c.target));
        ASSERT_TRUE(address.has_value()) << c.target;
        EXPECT_EQ(address->toString(), QString::fromLatin1(c.address)) << c.target;
    }
    for (const char* target :
         {"", "   ", "file:///etc/passwd", "javascript:alert(1)", "data:text/html,<b>x</b>", "ftp://example.com/",
          "http://", "http:///path", "about:blank", "chrome://settings", "/etc/passwd"})
        EXPECT_FALSE(HttpAddress(QString::fromLatin1(target)).has_value()) << target;
}

}  // namespace
}  // namespace caltrix
