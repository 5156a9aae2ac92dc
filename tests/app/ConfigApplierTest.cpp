#include "app/shell/ConfigApplier.h"

#include "tests/support/PageLoading.h"
#include "tests/support/TestHttpServer.h"
#include "app/shell/BrowserViews.h"
#include "common/SlotSelectionStore.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QWebEngineView>

#include <memory>
#include <signal.h>

namespace caltrix {
namespace {

class ConfigApplierTest : public ::testing::Test {
protected:
    ConfigApplierTest() {
        ConfigControls controls;
        controls.store = &m_store;
        for (std::size_t i = 0; i < m_banners.size(); ++i) {
            m_banners[i].reset(CreateBrowserView(nullptr));
            controls.banners[i] = m_banners[i].get();
        }
        controls.endpoint = m_server.BaseUrl();
        controls.setTicker = [this](const std::string& text) { m_ticker = text; };
        for (std::size_t i = 0; i < m_buttons.size(); ++i) controls.buttons[i] = &m_buttons[i];
        controls.repaint = [this] { ++m_repaints; };
        m_applier = std::make_unique<ConfigApplier>(std::move(controls));
    }

    QUrl Public(const char* page) const {
        return m_server.BaseUrl().resolved(QUrl(QStringLiteral("/public/") + QString::fromLatin1(page)));
    }
    QUrl BannerUrl(int index) const { return m_banners[static_cast<std::size_t>(index)]->page()->requestedUrl(); }

    testing::TestHttpServer m_server;
    SlotSelectionStore m_store;
    std::array<std::unique_ptr<QWebEngineView>, 3> m_banners;
    std::array<QPushButton, 8> m_buttons;
    std::string m_ticker;
    int m_repaints = 0;
    std::unique_ptr<ConfigApplier> m_applier;
};

TEST_F(ConfigApplierTest, AppliesEveryKindOfLineToItsControl) {
    const ConfigReport report = LeggiConfig(
        "01=SERIE A;\r\n24=LIGA;\r\n09=left.htm;ignored.htm\r\n10=middle.htm\r\n11=right.htm\r\n12=Hello \xE8\r\n"
        "13=Tele&text:http://a.example/x:y\r\n15=:\r\n16=<b>bold?</b>:http://b.example/\r\n",
        *m_applier);
    EXPECT_TRUE(report.readToEnd);
    EXPECT_EQ(m_store.Selection(0), "SERIE A;");
    EXPECT_EQ(m_store.Selection(10), "LIGA;");
    EXPECT_EQ(BannerUrl(0), Public("left.htm"));    // 09= WebBrowser1
    EXPECT_EQ(BannerUrl(2), Public("middle.htm"));  // 10= WebBrowser3
    EXPECT_EQ(BannerUrl(1), Public("right.htm"));   // 11= WebBrowser2
    EXPECT_EQ(m_ticker, "Hello \xE8");

    EXPECT_EQ(m_buttons[0].text(), QStringLiteral("Tele&text"));  // "&" stays a mnemonic marker
    EXPECT_EQ(m_buttons[0].property("Tag").toString(), QStringLiteral("http://a.example/x:y"));
    EXPECT_EQ(m_buttons[0].toolTip(), QStringLiteral("http://a.example/x:y"));
    EXPECT_EQ(m_buttons[2].text(), QString());
    EXPECT_EQ(m_buttons[2].property("Tag").toString(), QString());
    EXPECT_EQ(m_buttons[3].text(), QStringLiteral("<b>bold?</b>"));
    EXPECT_EQ(m_repaints, 1);  // after 13=, not after 15= or 16=
}

TEST_F(ConfigApplierTest, BannerAddressesLeavingPublicAreRefused) {
    LeggiConfig("09=start.htm\r\n", *m_applier);
    LeggiConfig("09=../secret.htm\r\n09=http://evil.example/\r\n09=%2e%2e/x\r\n", *m_applier);
    EXPECT_EQ(BannerUrl(0), Public("start.htm"));
}

TEST(BrowserViewTest, ReloadsItsPageWhenTheRendererDies) {
    testing::TestHttpServer server;
    server.Serve(QStringLiteral("/banner.htm"), testing::Answer(200, "<p>banner</p>"));
    std::unique_ptr<QWebEngineView> view(CreateBrowserView(nullptr));
    ASSERT_TRUE(testing::LoadAndWait(*view->page(), server.BaseUrl().resolved(QUrl(QStringLiteral("/banner.htm")))));
    const qint64 renderer = view->page()->renderProcessPid();
    ASSERT_GT(renderer, 0);
    ::kill(static_cast<pid_t>(renderer), SIGKILL);
    EXPECT_TRUE(testing::WaitUntil([&] { return server.Hits(QStringLiteral("/banner.htm")) == 2; }));
    EXPECT_TRUE(testing::WaitUntil([&] {
        const qint64 pid = view->page()->renderProcessPid();
        return pid > 0 && pid != renderer;
    }));
}

}  // namespace
}  // namespace caltrix
