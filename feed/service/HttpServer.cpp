#include "feed/service/HttpServer.h"

#include "feed/service/FeedLogging.h"
#include "feed/service/HttpRules.h"

#include <microhttpd.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <unordered_set>

namespace caltrix::feed {
namespace {

using Clock = std::chrono::steady_clock;

constexpr rlim_t kReservedDescriptors = 64;  // for the program's own files and its polls of the provider
constexpr std::size_t kMemoryPerConnection = kMaxHeadBytes;  // the library reads no longer head
constexpr std::size_t kStreamBlock = 4096;
constexpr std::chrono::milliseconds kTick{250};

// One connection, from the library's start notice to its close notice.
struct Link {
    int fd = -1;
    sockaddr_storage peer{};
    Clock::time_point waitingSince;
    bool waiting = true;  // for the end of a head
    bool kept = false;    // has had an answer: the next head may come after the idle timeout
};

// One request, from its head to its answer.
struct Exchange {
    HttpRequest request;
    const HttpRoute* route = nullptr;
    std::optional<HttpAnswer> early;  // given without asking the route
    bool keepsHttp10 = false;         // an HTTP/1.0 client asked to keep the connection
};

struct Stream {
    HttpServer::Impl* server = nullptr;
    MHD_Connection* connection = nullptr;
    std::shared_ptr<HttpStream> source;
    std::string pending;
    std::uint64_t beatsSeen = 0;
    bool suspended = false;
    std::atomic<bool> ended{false};  // its answer is gone; reclaimed by the clock
};

std::string addressText(const sockaddr* address) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address->sa_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
        return text;
    }
    const in6_addr& ip6 = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
    if (IN6_IS_ADDR_V4MAPPED(&ip6)) {
        inet_ntop(AF_INET, &ip6.s6_addr[12], text, sizeof text);
        return text;
    }
    inet_ntop(AF_INET6, &ip6, text, sizeof text);
    return text;
}

bool isLoopback(const std::string& address) { return address.starts_with("127.") || address == "::1"; }

// The address the client reached, as an origin: http://127.0.0.1:8080.
std::string ownOrigin(int fd) {
    sockaddr_storage local{};
    socklen_t size = sizeof local;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) != 0) return "http://localhost";
    const auto* address = reinterpret_cast<const sockaddr*>(&local);
    const std::string host = addressText(address);
    const in_port_t port = address->sa_family == AF_INET ? reinterpret_cast<const sockaddr_in*>(address)->sin_port
                                                         : reinterpret_cast<const sockaddr_in6*>(address)->sin6_port;
    const bool ip6 = host.find(':') != std::string::npos;
    return "http://" + (ip6 ? "[" + host + "]" : host) + ":" + std::to_string(ntohs(port));
}

bool samePeer(int fd, const sockaddr_storage& peer) {
    sockaddr_storage now{};
    socklen_t size = sizeof now;
    return getpeername(fd, reinterpret_cast<sockaddr*>(&now), &size) == 0 && std::memcmp(&now, &peer, size) == 0;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

MHD_Result collectField(void* fields, MHD_ValueKind, const char* key, size_t keySize, const char* value,
                        size_t valueSize) {
    static_cast<HttpFields*>(fields)->emplace_back(std::string(key, keySize),
                                                   value ? std::string(value, valueSize) : std::string());
    return MHD_YES;
}

bool expectsBody(const HttpRequest& request) {
    const std::string* length = request.Header("content-length");
    return request.Header("transfer-encoding") || (length && *length != "0");
}

}  // namespace

struct HttpServer::Impl {
    HttpServerLimits limits;
    std::vector<HttpRoute> routes;
    Observer observer;
    MHD_Daemon* daemon = nullptr;
    std::size_t cap = 0;

    std::mutex linksMutex;
    std::unordered_set<Link*> links;
    bool atCap = false;  // for one log line when the cap is reached and one when it is left

    mutable std::mutex streamsMutex;
    std::set<Stream*> streams;
    std::atomic<int> endedStreams{0};
    std::uint64_t beats = 0;
    bool stopping = false;

    std::mutex tickMutex;
    std::condition_variable tickWake;
    bool tickStop = false;
    std::thread ticker;

    // --- connections ---

    void started(MHD_Connection* connection, void** context) {
        auto* link = new Link;
        link->fd = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd;
        const sockaddr* peer = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS)->client_addr;
        std::memcpy(&link->peer, peer, peer->sa_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6));
        link->waitingSince = Clock::now();
        *context = link;
        std::lock_guard lock(linksMutex);
        // A connection closed by its peer may leave its number to a new one
        // before its close notice: the old entry is gone.
        for (Link* old : links)
            if (old->fd == link->fd) old->fd = -1;
        links.insert(link);
        if (links.size() > cap) makeRoom(link);
        noteCap(links.size() > cap);
    }

    // At the cap: the connection that has waited longest for a head goes,
    // or else the new one.
    void makeRoom(Link* newcomer) {
        Link* oldest = newcomer;
        for (Link* link : links)
            if (link->waiting && link->fd >= 0 && link->waitingSince < oldest->waitingSince) oldest = link;
        drop(oldest);
    }

    void noteCap(bool reached) {
        if (reached == atCap) return;
        atCap = reached;
        if (reached)
            qCWarning(lcFeed).noquote() << QStringLiteral(
                                               "the feed server is at its cap of %1 connections: the longest "
                                               "waiting make room, or new ones are refused")
                                               .arg(cap);
        else
            qCInfo(lcFeed).noquote() << QStringLiteral("the feed server is below its connection cap again");
    }

    // Ends a connection from outside the library's threads: the library sees
    // its end and closes it.
    static void drop(Link* link) {
        if (link->fd >= 0 && samePeer(link->fd, link->peer)) shutdown(link->fd, SHUT_RDWR);
        link->fd = -1;
    }

    void closed(void** context) {
        auto* link = static_cast<Link*>(*context);
        if (!link) return;
        std::lock_guard lock(linksMutex);
        links.erase(link);
        noteCap(links.size() > cap);
        delete link;
    }

    void setWaiting(MHD_Connection* connection, bool waiting) {
        const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
        if (!info || !info->socket_context) return;
        auto* link = static_cast<Link*>(info->socket_context);
        std::lock_guard lock(linksMutex);
        link->waiting = waiting;
        if (waiting) {
            link->kept = true;
            link->waitingSince = Clock::now();
        }
    }

    void dropLateHeads(Clock::time_point now) {
        std::lock_guard lock(linksMutex);
        for (Link* link : links) {
            const auto deadline = limits.headDeadline + (link->kept ? limits.idleTimeout : Clock::duration::zero());
            if (link->waiting && now - link->waitingSince > deadline) drop(link);
        }
    }

    // --- requests ---

    MHD_Result request(MHD_Connection* connection, const char* url, const char* method, const char* version,
                       const char* data, size_t* dataSize, void** context) {
        auto* exchange = static_cast<Exchange*>(*context);
        if (!exchange) {
            setWaiting(connection, false);
            exchange = new Exchange;
            *context = exchange;
            exchange->keepsHttp10 = std::strcmp(version, MHD_HTTP_VERSION_1_0) == 0;
            return head(connection, *exchange, url, method);
        }
        if (*dataSize > 0) {
            if (!exchange->route) return MHD_NO;
            const std::size_t room = exchange->route->maxBodyBytes - exchange->request.body.size();
            if (*dataSize > room) return MHD_NO;  // a chunked body over the cap: the connection closes
            exchange->request.body.append(data, *dataSize);
            *dataSize = 0;
            return MHD_YES;
        }
        if (exchange->early) return respond(connection, *exchange, std::move(*exchange->early));
        return respond(connection, *exchange, answerOf(*exchange));
    }

    MHD_Result head(MHD_Connection* connection, Exchange& exchange, const char* url, const char* method) {
        HttpRequest& request = exchange.request;
        request.method = method;
        request.path = url;
        MHD_get_connection_values_n(connection, MHD_HEADER_KIND, collectField, &request.headers);
        for (auto& [name, value] : request.headers) name = lowerCase(name);
        const std::string* connectionHeader = request.Header("connection");
        exchange.keepsHttp10 = exchange.keepsHttp10 && connectionHeader &&
                               lowerCase(*connectionHeader).find("keep-alive") != std::string::npos;
        MHD_get_connection_values_n(connection, MHD_GET_ARGUMENT_KIND, collectField, &request.query);
        request.peer =
            addressText(MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS)->client_addr);
        request.peerIsLoopback = isLoopback(request.peer);
        const std::string* host = request.Header("host");
        const std::optional<std::string> origin = host ? OriginOf(*host) : std::nullopt;
        request.origin =
            origin ? *origin
                   : ownOrigin(MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd);

        const MHD_ConnectionInfo* size = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_REQUEST_HEADER_SIZE);
        if (const int refusal = HeadRefusal(request.headers, size ? size->header_size : 0))
            return refuse(connection, refusal, refusal == 431 ? "request head too large\n" : "malformed request\n");
        exchange.route = RouteFor(routes, request.path);
        if (!exchange.route)
            exchange.early = TextAnswer(404, "not found\n");
        else if (const auto& methods = exchange.route->methods;
                 std::find(methods.begin(), methods.end(), request.method) == methods.end())
            exchange.early = TextAnswer(405, "method not allowed\n", {{"Allow", AllowedMethods(*exchange.route)}});
        else if (const std::string* length = request.Header("content-length");
                 length && std::stoull(*length) > exchange.route->maxBodyBytes)
            exchange.early = TextAnswer(413, "request body too large\n");
        // An answer before the body is read closes the connection after it.
        if (exchange.early && expectsBody(request)) return respond(connection, exchange, std::move(*exchange.early));
        return MHD_YES;  // the body, if any, and the answer come in the next calls
    }

    // A route that fails answers 500; nothing may unwind through the library.
    static HttpAnswer answerOf(const Exchange& exchange) {
        try {
            return exchange.route->answer(exchange.request);
        } catch (const std::exception& error) {
            qCWarning(lcFeed).noquote() << QStringLiteral("the feed's route %1 failed: %2")
                                               .arg(QString::fromStdString(exchange.route->path),
                                                    QString::fromUtf8(error.what()));
            return TextAnswer(500, "internal error\n");
        }
    }

    // Refuses a head whose framing cannot be trusted: nothing more is read.
    MHD_Result refuse(MHD_Connection* connection, int status, const char* text) {
        Exchange none;
        return respond(connection, none, TextAnswer(status, text, {{"Connection", "close"}}));
    }

    MHD_Result respond(MHD_Connection* connection, const Exchange& exchange, HttpAnswer answer) {
        MHD_Response* response =
            answer.stream ? streamResponse(connection, std::move(answer.stream)) : bodyResponse(std::move(answer.body));
        MHD_add_response_header(response, "Content-Type", answer.contentType.c_str());
        for (const auto& [name, value] : answer.headers) MHD_add_response_header(response, name.c_str(), value.c_str());
        // The library keeps such a connection but does not say so, and an HTTP/1.0 client closes without it.
        if (exchange.keepsHttp10 && !answer.stream) MHD_add_response_header(response, "Connection", "keep-alive");
        const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(answer.status), response);
        MHD_destroy_response(response);
        if (observer)
            observer(exchange.route ? std::string_view(exchange.route->path) : std::string_view(), answer.status);
        return queued;
    }

    static MHD_Response* bodyResponse(std::string body) {
        auto* owned = new std::string(std::move(body));
        return MHD_create_response_from_buffer_with_free_callback_cls(
            owned->size(), owned->data(), [](void* text) { delete static_cast<std::string*>(text); }, owned);
    }

    // --- event streams ---

    MHD_Response* streamResponse(MHD_Connection* connection, std::shared_ptr<HttpStream> source) {
        auto* stream = new Stream;
        stream->server = this;
        stream->connection = connection;
        stream->source = std::move(source);
        {
            std::lock_guard lock(streamsMutex);
            stream->beatsSeen = beats;
            streams.insert(stream);
        }
        return MHD_create_response_from_callback(MHD_SIZE_UNKNOWN, kStreamBlock, readStream, stream, freeStream);
    }

    static ssize_t readStream(void* context, uint64_t, char* buffer, size_t max) {
        auto* stream = static_cast<Stream*>(context);
        Impl& server = *stream->server;
        std::lock_guard lock(server.streamsMutex);
        if (server.stopping) return MHD_CONTENT_READER_END_OF_STREAM;
        if (stream->pending.empty()) {
            const bool beat = server.beats != stream->beatsSeen;
            stream->beatsSeen = server.beats;
            stream->source->Next(stream->pending, beat);
        }
        if (stream->pending.empty()) {
            stream->suspended = true;
            MHD_suspend_connection(stream->connection);
            return 0;
        }
        const std::size_t size = std::min(max, stream->pending.size());
        std::memcpy(buffer, stream->pending.data(), size);
        stream->pending.erase(0, size);
        return static_cast<ssize_t>(size);
    }

    // Called by the library, perhaps under its own locks: no lock of ours is
    // taken here, the clock reclaims the stream.
    static void freeStream(void* context) {
        auto* stream = static_cast<Stream*>(context);
        stream->server->endedStreams.fetch_add(1);
        stream->ended = true;
    }

    void reclaimStreams() {
        if (endedStreams.exchange(0) == 0) return;
        std::lock_guard lock(streamsMutex);
        std::erase_if(streams, [](Stream* stream) {
            if (!stream->ended) return false;
            delete stream;
            return true;
        });
    }

    // Under streamsMutex.
    void resumeStreams() {
        for (Stream* stream : streams)
            if (stream->suspended && !stream->ended) {
                stream->suspended = false;
                MHD_resume_connection(stream->connection);
            }
    }

    // --- the clock of deadlines and beats ---

    void tick() {
        auto nextBeat = Clock::now() + limits.streamBeat;
        std::unique_lock lock(tickMutex);
        while (!tickWake.wait_for(lock, kTick, [this] { return tickStop; })) {
            const auto now = Clock::now();
            dropLateHeads(now);
            reclaimStreams();
            if (now < nextBeat) continue;
            nextBeat = now + limits.streamBeat;
            std::lock_guard streamsLock(streamsMutex);
            ++beats;
            resumeStreams();
        }
    }

    void stop() {
        if (!daemon) return;
        {
            std::lock_guard lock(tickMutex);
            tickStop = true;
        }
        tickWake.notify_all();
        ticker.join();
        {
            std::lock_guard lock(streamsMutex);
            stopping = true;
            resumeStreams();
        }
        // The library must not stop with a suspended connection: wait for the
        // resumed streams to end.
        for (int i = 0; i < 200 && OpenStreams() > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        MHD_stop_daemon(daemon);
        daemon = nullptr;
        endedStreams = 1;
        reclaimStreams();
    }

    int OpenStreams() const {
        std::lock_guard lock(streamsMutex);
        return static_cast<int>(std::count_if(streams.begin(), streams.end(), [](Stream* s) { return !s->ended; }));
    }
};

namespace {

std::size_t capFor(std::size_t asked) {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    const rlim_t room =
        limit.rlim_cur > 2 * kReservedDescriptors ? limit.rlim_cur - kReservedDescriptors : limit.rlim_cur / 2;
    return asked == 0 ? room : std::min<std::size_t>(asked, room);
}

MHD_Result onRequest(void* server, MHD_Connection* connection, const char* url, const char* method, const char* version,
                     const char* data, size_t* dataSize, void** context) {
    return static_cast<HttpServer::Impl*>(server)->request(connection, url, method, version, data, dataSize, context);
}

void onCompleted(void* server, MHD_Connection* connection, void** context, MHD_RequestTerminationCode) {
    delete static_cast<Exchange*>(*context);
    *context = nullptr;
    static_cast<HttpServer::Impl*>(server)->setWaiting(connection, true);
}

void onConnection(void* server, MHD_Connection* connection, void** context, MHD_ConnectionNotificationCode code) {
    auto* impl = static_cast<HttpServer::Impl*>(server);
    if (code == MHD_CONNECTION_NOTIFY_STARTED)
        impl->started(connection, context);
    else
        impl->closed(context);
}

}  // namespace

HttpServer::HttpServer(HttpServerLimits limits) : m(std::make_unique<Impl>()) { m->limits = limits; }

HttpServer::~HttpServer() { m->stop(); }

void HttpServer::AddRoute(HttpRoute route) { m->routes.push_back(std::move(route)); }

void HttpServer::SetObserver(Observer observer) { m->observer = std::move(observer); }

std::uint16_t HttpServer::Listen(const std::string& address, std::uint16_t port) {
    m->cap = capFor(m->limits.maxConnections);
    sockaddr_in ip4{};
    sockaddr_in6 ip6{};
    const sockaddr* bind = nullptr;
    unsigned flags = MHD_USE_EPOLL_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME;
    if (address.empty()) {
        flags |= MHD_USE_DUAL_STACK;
    } else if (inet_pton(AF_INET, address.c_str(), &ip4.sin_addr) == 1) {
        ip4.sin_family = AF_INET;
        ip4.sin_port = htons(port);
        bind = reinterpret_cast<const sockaddr*>(&ip4);
    } else if (inet_pton(AF_INET6, address.c_str(), &ip6.sin6_addr) == 1) {
        ip6.sin6_family = AF_INET6;
        ip6.sin6_port = htons(port);
        bind = reinterpret_cast<const sockaddr*>(&ip6);
        flags |= MHD_USE_IPv6;
    } else {
        return 0;
    }
    // The library's own limit is a little above the cap, so that the cap's
    // rule decides who goes; it refuses only what comes faster than that.
    const auto hardCap = static_cast<unsigned>(m->cap + m->cap / 16 + m->limits.threads);
    m->daemon =
        MHD_start_daemon(flags, port, nullptr, nullptr, onRequest, m.get(), MHD_OPTION_THREAD_POOL_SIZE,
                         m->limits.threads, MHD_OPTION_CONNECTION_LIMIT, hardCap, MHD_OPTION_CONNECTION_TIMEOUT,
                         static_cast<unsigned>(m->limits.idleTimeout.count()), MHD_OPTION_CONNECTION_MEMORY_LIMIT,
                         kMemoryPerConnection, MHD_OPTION_LISTEN_BACKLOG_SIZE, 4096u, MHD_OPTION_NOTIFY_COMPLETED,
                         onCompleted, m.get(), MHD_OPTION_NOTIFY_CONNECTION, onConnection, m.get(),
                         bind ? MHD_OPTION_SOCK_ADDR : MHD_OPTION_END, bind, MHD_OPTION_END);
    if (!m->daemon) return 0;
    m->ticker = std::thread([this] { m->tick(); });
    return MHD_get_daemon_info(m->daemon, MHD_DAEMON_INFO_BIND_PORT)->port;
}

void HttpServer::WakeStreams() {
    std::lock_guard lock(m->streamsMutex);
    m->resumeStreams();
}

int HttpServer::OpenStreams() const { return m->OpenStreams(); }

std::size_t HttpServer::ConnectionCap() const { return m->cap; }

}  // namespace caltrix::feed
