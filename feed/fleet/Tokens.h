// The fleet's secrets: the token screens report with and the operator's
// token. Read from files, compared in constant time, never logged.
#pragma once

#include "feed/service/HttpExchange.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace caltrix::fleet {

// The token in `file`: its first line, without surrounding white space.
// Throws std::runtime_error (naming the file, not its content) when the file
// cannot be read or holds no token.
std::string ReadTokenFile(const std::filesystem::path& file);

// Equal secrets, in a time that depends on their lengths only.
bool SameSecret(std::string_view presented, std::string_view expected);

// The secret a request presents: a Bearer token, or the password of HTTP
// Basic (with any user name), so that a browser and Prometheus can both send it.
std::optional<std::string> PresentedSecret(const feed::HttpRequest& request);

// Who may use a route: holders of the token or, without a token, loopback only.
class Gate {
public:
    explicit Gate(std::optional<std::string> token) : m_token(std::move(token)) {}
    bool Admits(const feed::HttpRequest& request) const;

private:
    std::optional<std::string> m_token;
};

}  // namespace caltrix::fleet
