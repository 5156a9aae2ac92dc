#include "app/shell/BrowserViews.h"

#include "tests/support/PageLoading.h"
#include "common/qt/TimeScale.h"

#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace caltrix {
namespace {

// A page that kills its renderer again after every reload is reloaded after
// pauses that double, not at once.
TEST(RendererRestarterTest, APageThatKeepsKillingItsRendererIsReloadedWithBackOff) {
    SetTimeScale(0.01);  // pauses of 10, 20, 40 ms
    std::unique_ptr<QWebEngineView> view(CreateBrowserView(nullptr));
    QWebEnginePage* page = view->page();
    auto* restarter = page->findChild<RendererRestarter*>();
    ASSERT_NE(restarter, nullptr);
    std::vector<int> pauses;
    QObject::connect(page, &QWebEnginePage::renderProcessTerminated, page,
                     [&] { pauses.push_back(restarter->PauseMs()); });
    QObject::connect(page, &QWebEnginePage::loadFinished, page, [&](bool ok) {
        if (ok) page->setUrl(QUrl(QStringLiteral("chrome://kill")));
    });
    page->setUrl(QUrl(QStringLiteral("about:blank")));
    testing::WaitUntil([&] { return pauses.size() >= 3; }, 20000);
    SetTimeScale(1.0);
    ASSERT_GE(pauses.size(), 3u);
    EXPECT_EQ(std::vector<int>(pauses.begin(), pauses.begin() + 3), (std::vector<int>{1000, 2000, 4000}));
}

}  // namespace
}  // namespace caltrix
