// The keys of the configuration file, as the program reads them and caltrix-feed
// writes them: each line is "NN=value" with a two-digit key 00..24.
#pragma once

#include <string>

namespace caltrix {

inline constexpr int kLastConfigurationKey = 24;
inline constexpr int kTickerKey = 12;
// The link buttons' captions and targets: keys 13..20 for Command3..Command10.
inline constexpr int kFirstButtonKey = 13;
inline constexpr int kLastButtonKey = 20;
inline constexpr int kButtonCommandOffset = 10;  // command = key - 10

// The selection of slot k: keys 01..08 for slots 1..8, 22..24 for slots 9..11.
constexpr int SelectionKey(int slot) { return slot <= 8 ? slot : slot + 13; }
// The slot whose selection `key` sets, or 0 for another key.
constexpr int SelectionSlot(int key) {
    if (key >= 1 && key <= 8) return key;
    if (key >= 22 && key <= 24) return key - 13;
    return 0;
}
// The banner browser whose page `key` sets: 09 WebBrowser1, 10 WebBrowser3,
// 11 WebBrowser2; 0 for another key.
constexpr int BannerBrowser(int key) {
    switch (key) {
    case 9:
        return 1;
    case 10:
        return 3;
    case 11:
        return 2;
    default:
        return 0;
    }
}

// "NN=" for `key`.
inline std::string KeyText(int key) { return {char('0' + key / 10), char('0' + key % 10), '='}; }

}  // namespace caltrix
