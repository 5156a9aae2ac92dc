// The rules the feed's HTTP server applies to a request head beyond what its
// library checks: unambiguous body framing, the head's size, the Host header
// an answer may name, and which route takes a path. Plain C++.
#pragma once

#include "feed/service/HttpExchange.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace caltrix::feed {

inline constexpr std::size_t kMaxHeadBytes = 16 * 1024;  // request line and headers

// The status that refuses a head, or 0 for a sound one: 431 when it is over
// kMaxHeadBytes; 400 when its body's length is ambiguous (a Content-Length
// that is not plain digits, over 18 of them, or given twice with different
// values; a Transfer-Encoding other than chunked, empty, or next to a
// Content-Length), a framing header's line was folded, or a header's name
// is not a token ("Content-Length : 5").
// `headers` are as the client sent them, names in lower case.
int HeadRefusal(const HttpFields& headers, std::size_t headBytes);

// "http://host[:port]" for a Host header that is a valid host name, IPv4 or
// bracketed IPv6 address with an optional port; nothing for anything else.
std::optional<std::string> OriginOf(std::string_view host);

// The route that takes `path`: the one of that exact path, else the one of
// the longest folder holding it; null when none does.
const HttpRoute* RouteFor(const std::vector<HttpRoute>& routes, std::string_view path);

// "GET, HEAD": the route's methods, for a 405's Allow header.
std::string AllowedMethods(const HttpRoute& route);

}  // namespace caltrix::feed
