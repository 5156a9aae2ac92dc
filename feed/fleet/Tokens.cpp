#include "feed/fleet/Tokens.h"

#include <array>
#include <cctype>
#include <fstream>
#include <stdexcept>

namespace caltrix::fleet {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// RFC 4648 base64; none when `text` is not.
std::optional<std::string> decodeBase64(std::string_view text) {
    static constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    while (!text.empty() && text.back() == '=') text.remove_suffix(1);
    std::string decoded;
    unsigned bits = 0;
    int pending = 0;
    for (const char c : text) {
        const auto value = kAlphabet.find(c);
        if (value == std::string_view::npos) return std::nullopt;
        bits = (bits << 6) | static_cast<unsigned>(value);
        pending += 6;
        if (pending >= 8) {
            pending -= 8;
            decoded.push_back(static_cast<char>((bits >> pending) & 0xFF));
        }
    }
    return decoded;
}

bool startsWithScheme(std::string_view value, std::string_view scheme) {
    if (value.size() <= scheme.size() || value[scheme.size()] != ' ') return false;
    for (std::size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(value[i])) != scheme[i]) return false;
    return true;
}

}  // namespace

std::string ReadTokenFile(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) throw std::runtime_error("cannot read the token file " + file.string());
    const std::string token(trimmed(line));
    if (token.empty()) throw std::runtime_error("the token file " + file.string() + " holds no token");
    return token;
}

bool SameSecret(std::string_view presented, std::string_view expected) {
    // Every byte of the expected secret is looked at, whatever the presented one holds.
    unsigned char difference = presented.size() == expected.size() ? 0 : 1;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const char other = i < presented.size() ? presented[i] : '\0';
        difference |= static_cast<unsigned char>(other ^ expected[i]);
    }
    return difference == 0 && !expected.empty();
}

std::optional<std::string> PresentedSecret(const feed::HttpRequest& request) {
    const std::string* header = request.Header("authorization");
    if (!header) return std::nullopt;
    const std::string_view value = trimmed(*header);
    if (startsWithScheme(value, "bearer")) return std::string(trimmed(value.substr(7)));
    if (!startsWithScheme(value, "basic")) return std::nullopt;
    const auto credentials = decodeBase64(trimmed(value.substr(6)));
    if (!credentials) return std::nullopt;
    const auto colon = credentials->find(':');
    if (colon == std::string::npos) return std::nullopt;
    return credentials->substr(colon + 1);
}

bool Gate::Admits(const feed::HttpRequest& request) const {
    if (!m_token) return request.peerIsLoopback;
    const auto presented = PresentedSecret(request);
    return presented && SameSecret(*presented, *m_token);
}

}  // namespace caltrix::fleet
