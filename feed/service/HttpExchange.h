// One HTTP request as the feed's routes see it, the answer they give, and a
// route. Routes run on the server's threads: they read shared state only
// through whole published versions and never block on a write.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace caltrix::feed {

using HttpFields = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
    std::string method;  // "GET", "HEAD", "PUT", ...
    std::string path;    // decoded, without the query
    HttpFields query;    // decoded arguments, in order
    HttpFields headers;  // names in lower case
    std::string body;    // at most the route's body cap
    std::string peer;    // the client's address, e.g. "127.0.0.1"
    bool peerIsLoopback = false;
    // "http://host[:port]" the client asked for: its Host header when that is a
    // valid host and port, otherwise the server's own address.
    std::string origin;

    const std::string* Header(std::string_view lowerCaseName) const;
    const std::string* Argument(std::string_view name) const;
};

// The body of an answer that does not end (an event stream): text sent as it
// comes, until the client leaves or the server stops. Called on the server's
// threads, one call at a time per stream; it must not block.
class HttpStream {
public:
    virtual ~HttpStream() = default;
    // Appends what is to be sent now to `out` (nothing: the stream waits for
    // the server to wake it). `beat`: the server's periodic beat has come
    // since the last call, for a keep-alive line.
    virtual void Next(std::string& out, bool beat) = 0;
};

struct HttpAnswer {
    int status = 200;
    std::string contentType = "text/plain";
    std::string body;
    HttpFields headers;  // beyond type and length
    // Set: the body is this stream instead, without a length, and the
    // connection is exempt from the idle timeout while the client reads.
    std::shared_ptr<HttpStream> stream;
};

inline HttpAnswer MakeAnswer(int status, std::string contentType, std::string body, HttpFields headers = {}) {
    HttpAnswer answer;
    answer.status = status;
    answer.contentType = std::move(contentType);
    answer.body = std::move(body);
    answer.headers = std::move(headers);
    return answer;
}

// A plain text answer: "not found\n" with 404.
inline HttpAnswer TextAnswer(int status, std::string body, HttpFields headers = {}) {
    return MakeAnswer(status, "text/plain", std::move(body), std::move(headers));
}

struct HttpRoute {
    std::string path;  // the exact path, or a folder ending in '/' that takes every path below it
    std::vector<std::string> methods{"GET", "HEAD"};  // others are answered 405 with Allow
    std::size_t maxBodyBytes = 0;                     // a larger body is answered 413
    std::function<HttpAnswer(const HttpRequest&)> answer;
};

}  // namespace caltrix::feed
