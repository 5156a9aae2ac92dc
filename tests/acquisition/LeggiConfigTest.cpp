#include "acquisition/LeggiConfig.h"

#include <gtest/gtest.h>

namespace caltrix {
namespace {

// Records every call as one readable line.
class RecordingTargets : public ConfigTargets {
public:
    std::vector<std::string> calls;

    void SetSelection(int element, const std::string& selection) override {
        calls.push_back("selection " + std::to_string(element) + " [" + selection + "]");
    }
    void NavigateBanner(int browser, const std::string& page) override {
        calls.push_back("banner " + std::to_string(browser) + " [" + page + "]");
    }
    void SetTicker(const std::string& text) override { calls.push_back("ticker [" + text + "]"); }
    void SetButton(int command, const std::string& caption, const std::string& target) override {
        calls.push_back("button " + std::to_string(command) + " [" + caption + "] [" + target + "]");
    }
    void Repaint() override { calls.push_back("repaint"); }
};

std::vector<std::string> Applied(std::string_view bytes) {
    RecordingTargets targets;
    LeggiConfig(bytes, targets);
    return targets.calls;
}

using Calls = std::vector<std::string>;

TEST(LeggiConfig, KeysReachTheirTargets) {
    EXPECT_EQ(Applied("00=x\r\n01=SERIEA;\r\n08=h\r\n22=i\r\n24=k\r\n21=y"),
              (Calls{"selection 0 [SERIEA;]", "selection 7 [h]", "selection 8 [i]", "selection 10 [k]"}));
    EXPECT_EQ(Applied("09=a.htm;b.htm\r\n10=c.htm\r\n11=;d"),
              (Calls{"banner 1 [a.htm]", "banner 3 [c.htm]", "banner 2 []"}));
    EXPECT_EQ(Applied("12= news  "), (Calls{"ticker [ news  ]"}));  // value kept as it stands
}

TEST(LeggiConfig, ButtonsSplitAtTheFirstColonAndSomeRepaint) {
    EXPECT_EQ(Applied("13=Teletext:http://example.org:8080/a\r\n15=:\r\n20=x:y"),
              (Calls{"button 3 [Teletext] [http://example.org:8080/a]", "repaint", "button 5 [] []",
                     "button 10 [x] [y]", "repaint"}));
}

TEST(LeggiConfig, LinesThatAreNotKeysAreIgnored) {
    // One digit, a space before "=", lower or other keys, short lines, an empty file.
    EXPECT_TRUE(Applied("5=abc\r\n05 =abc\r\n25=x\r\n1a=x\r\n05\r\n=\r\nqesa\r\n").empty());
    EXPECT_TRUE(Applied("").empty());
    EXPECT_EQ(Applied("05="), (Calls{"selection 4 []"}));
    EXPECT_EQ(Applied("05=abc"), (Calls{"selection 4 [abc]"}));
}

TEST(LeggiConfig, LinesApplyInOrderAndTheLastWins) {
    EXPECT_EQ(Applied("01=a\r01=b\r\n09=x\r\n09=y"),
              (Calls{"selection 0 [a]", "selection 0 [b]", "banner 1 [x]", "banner 1 [y]"}));
}

TEST(LeggiConfig, LoneLineFeedsDoNotEndLines) {
    EXPECT_EQ(Applied("01=a\n02=b\n"), (Calls{"selection 0 [a\n02=b\n]"}));
}

TEST(LeggiConfig, ButtonWithoutColonIsSkippedAndTheRestApplied) {
    RecordingTargets targets;
    const ConfigReport report = LeggiConfig("01=a\r\n13=no colon\r\n02=b\r\n", targets);
    EXPECT_TRUE(report.readToEnd);
    EXPECT_EQ(report.applied, 2u);
    ASSERT_EQ(report.skipped.size(), 1u);
    EXPECT_NE(report.skipped[0].find("13=no colon"), std::string::npos);
    EXPECT_EQ(targets.calls, (Calls{"selection 0 [a]", "selection 1 [b]"}));
}

}  // namespace
}  // namespace caltrix
