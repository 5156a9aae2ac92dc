#include "feed/service/HttpRules.h"

#include <algorithm>
#include <cctype>

namespace caltrix::feed {
namespace {

constexpr std::size_t kMaxLengthDigits = 18;  // fits in 64 bits

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool tokenChar(unsigned char c) {
    return std::isalnum(c) || std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
}

// A blank before a header's colon leaves a name that is not a token. The
// library joins a folded line to the name of the header before it
// ("Content-Length: 2" and " 9" read as "Content-Length9: 2"), so a name that
// only begins as a framing header's is one folded.
bool malformed(const std::string& name, const std::string& value) {
    const auto foldedInto = [&name](std::string_view framing) { return name != framing && name.starts_with(framing); };
    return name.empty() || !std::all_of(name.begin(), name.end(), tokenChar) || foldedInto("content-length") ||
           foldedInto("transfer-encoding") || value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

bool ambiguousHead(const HttpFields& headers) {
    const std::string* length = nullptr;
    bool transferEncoding = false;
    for (const auto& [name, value] : headers) {
        if (malformed(name, value)) return true;
        if (name == "transfer-encoding") {
            if (transferEncoding || !equalsIgnoringCase(value, "chunked")) return true;
            transferEncoding = true;
        } else if (name == "content-length") {
            if (!allDigits(value) || value.size() > kMaxLengthDigits) return true;
            if (length && *length != value) return true;
            length = &value;
        }
    }
    return transferEncoding && length;
}

bool hostNameChar(unsigned char c) { return std::isalnum(c) || c == '-' || c == '.' || c == '_'; }

bool validPort(std::string_view port) {
    return allDigits(port) && port.size() <= 5 && std::stoul(std::string(port)) <= 65535;
}

bool validHost(std::string_view host) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        return std::all_of(host.begin() + 1, host.end() - 1,
                           [](unsigned char c) { return std::isxdigit(c) || c == ':' || c == '.'; });
    return !host.empty() && host.size() <= 253 && host.front() != '.' && host.front() != '-' &&
           std::all_of(host.begin(), host.end(), hostNameChar);
}

}  // namespace

int HeadRefusal(const HttpFields& headers, std::size_t headBytes) {
    if (headBytes > kMaxHeadBytes) return 431;
    return ambiguousHead(headers) ? 400 : 0;
}

std::optional<std::string> OriginOf(std::string_view host) {
    std::string_view name = host, port;
    const std::size_t colon = host.rfind(':');
    if (colon != std::string_view::npos && host.find(']', colon) == std::string_view::npos) {
        name = host.substr(0, colon);
        port = host.substr(colon + 1);
        if (!validPort(port)) return std::nullopt;
    }
    if (!validHost(name)) return std::nullopt;
    return "http://" + std::string(host);
}

const HttpRoute* RouteFor(const std::vector<HttpRoute>& routes, std::string_view path) {
    const HttpRoute* best = nullptr;
    for (const HttpRoute& route : routes) {
        if (route.path == path) return &route;
        const bool holds = route.path.ends_with('/') && path.starts_with(route.path);
        if (holds && (!best || route.path.size() > best->path.size())) best = &route;
    }
    return best;
}

std::string AllowedMethods(const HttpRoute& route) {
    std::string allowed;
    for (const std::string& method : route.methods) allowed += (allowed.empty() ? "" : ", ") + method;
    return allowed;
}

}  // namespace caltrix::feed
