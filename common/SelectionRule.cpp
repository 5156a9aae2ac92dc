#include "common/SelectionRule.h"

#include "common/Text1252.h"

#include <algorithm>

namespace caltrix {

void AppendCompacted(std::string_view text, std::string& out) {
    const auto& upper = UpperCase1252Table();
    for (const char c : text) {
        if (c != ' ') out.push_back(upper[static_cast<unsigned char>(c)]);
    }
}

std::vector<std::string> SelectionFragments(std::string_view selection) {
    std::vector<std::string> fragments;
    for (auto end = selection.find(';'); end != std::string_view::npos; end = selection.find(';')) {
        AppendCompacted(selection.substr(0, end), fragments.emplace_back());
        selection.remove_prefix(end + 1);
    }
    return fragments;
}

bool Selects(const std::vector<std::string>& fragments, std::string_view compactedHeader) {
    return std::any_of(fragments.begin(), fragments.end(), [&](const std::string& fragment) {
        return compactedHeader.find(fragment) != std::string_view::npos;
    });
}

}  // namespace caltrix
