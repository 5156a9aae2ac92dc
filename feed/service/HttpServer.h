// The feed's HTTP/1.1 server, on libmicrohttpd: epoll with a pool of
// threads, and event streams suspended while they wait. It keeps a
// connection between requests unless the client asks otherwise
// (Connection: close, or HTTP/1.0 without keep-alive), drops connections
// idle for a minute (an event stream only while it cannot be written),
// answers a method its route does not take with 405 and Allow, and refuses
// what a hostile client may try:
// - a head not finished within its deadline (slow heads), or over 16 KB (431);
// - a body whose length is ambiguous (400, and the connection closes);
// - connections beyond a cap below the descriptor limit: at the cap the one
//   that has waited longest for a head makes room, otherwise the new one is
//   refused;
// - a client that does not read: the library reads no further request from
//   it until the answer queued for it is sent.
// Routes run on the server's threads.
#pragma once

#include "feed/service/HttpExchange.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace caltrix::feed {

struct HttpServerLimits {
    std::chrono::seconds idleTimeout{60};
    // From a connection's start to the end of its first head; a kept
    // connection has the idle timeout more for each next one.
    std::chrono::milliseconds headDeadline{10000};
    std::chrono::milliseconds streamBeat{10000};  // how often event streams are given a keep-alive beat
    std::size_t maxConnections = 0;               // 0: from the descriptor limit
    unsigned threads = 4;
};

class HttpServer {
public:
    // After every answer a route gave or the server gave in its place: the
    // route's path ("" when no route took the request) and the status.
    using Observer = std::function<void(std::string_view route, int status)>;

    explicit HttpServer(HttpServerLimits limits = {});
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Both before Listen.
    void AddRoute(HttpRoute route);
    void SetObserver(Observer observer);

    // `address`: an IPv4 or IPv6 address, empty for every address. Port 0
    // takes a free port. The port listened on; 0 when it cannot listen.
    std::uint16_t Listen(const std::string& address, std::uint16_t port);

    // Has every event stream ask its HttpStream for what to send now.
    void WakeStreams();
    int OpenStreams() const;
    std::size_t ConnectionCap() const;

    struct Impl;  // the library's side

private:
    std::unique_ptr<Impl> m;
};

}  // namespace caltrix::feed
