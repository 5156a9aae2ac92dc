#include "app/widgets/ClassicCaption.h"

#include <gtest/gtest.h>

namespace caltrix {
namespace {

TEST(ClassicCaption, DoubledAmpersandShowsOnceAndASingleOneIsAMnemonicMarker) {
    const struct {
        const char* caption;
        const char* shown;
    } cases[] = {
        {"BRIGHTON && HOVE", "BRIGHTON & HOVE"}, {"&File", "File"}, {"a&&&b", "a&b"}, {"trailing &", "trailing &"},
        {"<b>bold</b>", "<b>bold</b>"},          {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassicCaption(QString::fromUtf8(c.caption)).toStdString(), c.shown) << c.caption;
}

}  // namespace
}  // namespace caltrix
