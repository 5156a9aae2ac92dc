// Simulated screens for measuring a fleet: each holds one event stream and,
// on each new version, fetches the versioned page, as a screen does. All of
// them run in one thread on libcurl's multi interface over epoll, so that
// thousands of screens cost the machine little beside the server measured.
// A dropped stream is opened again after half a second, with Last-Event-ID.
// --events-only fetches no pages: the event fan-out alone. --source sets the
// local address: every local address has its own ports, and tens of thousands
// of connections from one would make the kernel search long for a free port
// at each connect.
// libcurl 7.88 walks all connections of a multi handle each time a transfer
// is taken off it, so a process runs no more than about a thousand screens.
//
// Usage: caltrix-fleet-screens --stream URL --site URL --screens N
//        --seconds S [--stagger S] [--events-only] [--source ADDRESS] --out FILE
// FILE gets one JSON object per screen and line: "events" and "pages" (the
// wall-clock time, in seconds, each version's event and page came), "made"
// (the event's own time), "missed" (versions whose page came from the feed
// server itself, where a cache stands between: X-Cache-Status MISS) and
// "connections" (how often its stream was opened).
#include "acquisition/EventStreamParser.h"
#include "common/FeedEvents.h"
#include "common/WebAddresses.h"

#include <curl/curl.h>
#include <nlohmann/json.hpp>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using caltrix::EventStreamParser;
using caltrix::StreamEvent;

double wallSeconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Seconds since the epoch of an event's time ("2026-12-09T21:30:05.120Z").
double eventTime(const std::string& text) {
    std::tm parts{};
    int milliseconds = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d.%dZ", &parts.tm_year, &parts.tm_mon, &parts.tm_mday,
                    &parts.tm_hour, &parts.tm_min, &parts.tm_sec, &milliseconds) != 7)
        return 0;
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    return static_cast<double>(timegm(&parts)) + milliseconds / 1000.0;
}

struct Options {
    std::string stream;
    std::string site;
    int screens = 0;
    double seconds = 0;
    double stagger = 2;
    bool fetch = true;
    std::string source;  // the local address connections leave from, as curl's "host!ADDRESS"
    std::string out;
};

class Screen {
public:
    // `due` collects the screens with a page to fetch: libcurl takes no new
    // transfer from inside its own callbacks, where events arrive.
    Screen(CURLM* multi, const Options& options, std::vector<Screen*>& due)
        : m_multi(multi), m_options(options), m_due(due) {}
    ~Screen() {
        for (CURL* handle : {m_stream, m_fetch}) {
            if (!handle) continue;
            curl_multi_remove_handle(m_multi, handle);
            curl_easy_cleanup(handle);
        }
        curl_slist_free_all(m_streamHeaders);
    }

    void OpenStream() {
        if (!m_stream) m_stream = curl_easy_init();
        curl_easy_reset(m_stream);
        curl_slist_free_all(m_streamHeaders);
        m_streamHeaders = curl_slist_append(nullptr, "Accept: text/event-stream");
        if (!m_lastEventId.empty())
            m_streamHeaders = curl_slist_append(m_streamHeaders, ("Last-Event-ID: " + m_lastEventId).c_str());
        m_parser = EventStreamParser();
        curl_easy_setopt(m_stream, CURLOPT_URL, m_options.stream.c_str());
        setSource(m_stream);
        curl_easy_setopt(m_stream, CURLOPT_HTTPHEADER, m_streamHeaders);
        curl_easy_setopt(m_stream, CURLOPT_WRITEFUNCTION, &Screen::streamBytes);
        curl_easy_setopt(m_stream, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(m_stream, CURLOPT_PRIVATE, this);
        curl_multi_add_handle(m_multi, m_stream);
        ++m_connections;
    }

    // A transfer of this screen ended: a stream is opened again later, a
    // fetch records its page and starts the next one a newer event asked for.
    // Returns whether it was the stream.
    bool Ended(CURL* handle, CURLcode result, double now) {
        curl_multi_remove_handle(m_multi, handle);
        if (handle == m_stream) return true;
        long status = 0;
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
        if (result == CURLE_OK && status == 200) m_pages[m_fetching] = now;
        m_fetching = 0;
        FetchWanted();
        return false;
    }

    // Fetches the page of the newest version an event asked for, unless a
    // fetch is under way: that one's end starts it.
    void FetchWanted() {
        if (m_fetching || !m_wanted) return;
        fetch(*std::exchange(m_wanted, std::nullopt));
    }

    nlohmann::json Figures() const {
        auto times = [](const std::map<long long, double>& byVersion) {
            nlohmann::json object = nlohmann::json::object();
            for (const auto& [version, at] : byVersion) object[std::to_string(version)] = at;
            return object;
        };
        return {{"events", times(m_events)},
                {"pages", times(m_pages)},
                {"made", times(m_made)},
                {"missed", m_missed},
                {"connections", m_connections}};
    }

private:
    static size_t streamBytes(char* bytes, size_t size, size_t count, void* self) {
        auto* screen = static_cast<Screen*>(self);
        const std::size_t length = size * count;
        long status = 0;
        curl_easy_getinfo(screen->m_stream, CURLINFO_RESPONSE_CODE, &status);
        if (status != 200) return 0;  // not a stream: ends the transfer
        const bool whole = screen->m_parser.Feed(std::string_view(bytes, length),
                                                 [screen](const StreamEvent& event) { screen->take(event); });
        return whole ? length : 0;
    }

    static size_t pageHeader(char* bytes, size_t size, size_t count, void* self) {
        const std::string_view line(bytes, size * count);
        if (line.rfind("X-Cache-Status: MISS", 0) == 0) {
            auto* screen = static_cast<Screen*>(self);
            screen->m_missed.push_back(screen->m_fetching);
        }
        return size * count;
    }

    static size_t discard(char*, size_t size, size_t count, void*) { return size * count; }

    void take(const StreamEvent& event) {
        m_lastEventId = event.id;
        if (event.type != caltrix::kPageEventType && event.type != "message") return;
        const nlohmann::json data = nlohmann::json::parse(event.data, nullptr, false);
        if (!data.is_object() || !data.contains(caltrix::kLatestVersionKey)) return;
        const long long version = data.value(std::string(caltrix::kLatestVersionKey), 0LL);
        if (m_events.count(version)) return;
        m_events[version] = wallSeconds();
        m_made[version] = eventTime(data.value(std::string(caltrix::kVersionTimeKey), std::string()));
        if (!m_options.fetch) return;
        m_wanted = version;
        m_due.push_back(this);
    }

    void setSource(CURL* handle) const {
        if (!m_options.source.empty()) curl_easy_setopt(handle, CURLOPT_INTERFACE, m_options.source.c_str());
    }

    void fetch(long long version) {
        if (!m_fetch) m_fetch = curl_easy_init();
        m_fetching = version;
        m_url = m_options.site + std::string(caltrix::kScorePagePath) + "?" + std::string(caltrix::kScorePageQuery) +
                "&" + std::string(caltrix::kPageVersionArgument) + "=" + std::to_string(version);
        curl_easy_setopt(m_fetch, CURLOPT_URL, m_url.c_str());
        setSource(m_fetch);
        curl_easy_setopt(m_fetch, CURLOPT_WRITEFUNCTION, &Screen::discard);
        curl_easy_setopt(m_fetch, CURLOPT_HEADERFUNCTION, &Screen::pageHeader);
        curl_easy_setopt(m_fetch, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(m_fetch, CURLOPT_PRIVATE, this);
        curl_multi_add_handle(m_multi, m_fetch);
    }

    CURLM* m_multi;
    const Options& m_options;
    std::vector<Screen*>& m_due;
    CURL* m_stream = nullptr;
    CURL* m_fetch = nullptr;
    curl_slist* m_streamHeaders = nullptr;
    EventStreamParser m_parser;
    std::string m_lastEventId;
    std::string m_url;
    long long m_fetching = 0;  // the version being fetched, 0 when none
    std::optional<long long> m_wanted;
    std::map<long long, double> m_events;
    std::map<long long, double> m_pages;
    std::map<long long, double> m_made;
    std::vector<long long> m_missed;
    int m_connections = 0;
};

// libcurl's sockets on one epoll set; libcurl says which to watch and when
// its next timeout is due.
class Loop {
public:
    Loop() : m_epoll(epoll_create1(EPOLL_CLOEXEC)), m_multi(curl_multi_init()) {
        curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &Loop::watch);
        curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
        curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &Loop::timer);
        curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
        curl_multi_setopt(m_multi, CURLMOPT_MAXCONNECTS, 100000L);
    }
    ~Loop() {
        curl_multi_cleanup(m_multi);
        close(m_epoll);
    }

    CURLM* Multi() const { return m_multi; }

    // Waits at most `seconds` for sockets or libcurl's timeout and lets
    // libcurl act on them; returns the transfers that ended.
    std::vector<std::pair<CURL*, CURLcode>> Step(double seconds) {
        using namespace std::chrono;
        auto wait = duration_cast<milliseconds>(duration<double>(seconds));
        if (m_timerDue != steady_clock::time_point::max())
            wait = std::clamp(duration_cast<milliseconds>(m_timerDue - steady_clock::now()), milliseconds(0), wait);
        epoll_event ready[1024];
        const int count = epoll_wait(m_epoll, ready, 1024, static_cast<int>(wait.count()));
        int running = 0;
        for (int n = 0; n < count; ++n) {
            const int flags = ((ready[n].events & EPOLLIN) ? CURL_CSELECT_IN : 0) |
                              ((ready[n].events & EPOLLOUT) ? CURL_CSELECT_OUT : 0) |
                              ((ready[n].events & (EPOLLERR | EPOLLHUP)) ? CURL_CSELECT_ERR : 0);
            curl_multi_socket_action(m_multi, ready[n].data.fd, flags, &running);
        }
        if (count <= 0 || steady_clock::now() >= m_timerDue)
            curl_multi_socket_action(m_multi, CURL_SOCKET_TIMEOUT, 0, &running);
        std::vector<std::pair<CURL*, CURLcode>> ended;
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(m_multi, &left))
            if (message->msg == CURLMSG_DONE) ended.emplace_back(message->easy_handle, message->data.result);
        return ended;
    }

private:
    static int watch(CURL*, curl_socket_t socket, int what, void* self, void*) {
        auto* loop = static_cast<Loop*>(self);
        epoll_event event{};
        event.data.fd = socket;
        const bool in = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
        const bool out = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
        event.events = (in ? std::uint32_t{EPOLLIN} : 0u) | (out ? std::uint32_t{EPOLLOUT} : 0u);
        if (what == CURL_POLL_REMOVE)
            epoll_ctl(loop->m_epoll, EPOLL_CTL_DEL, socket, nullptr);
        else if (epoll_ctl(loop->m_epoll, EPOLL_CTL_MOD, socket, &event) != 0)
            epoll_ctl(loop->m_epoll, EPOLL_CTL_ADD, socket, &event);
        return 0;
    }

    static int timer(CURLM*, long timeoutMs, void* self) {
        static_cast<Loop*>(self)->m_timerDue =
            timeoutMs < 0 ? std::chrono::steady_clock::time_point::max()
                          : std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        return 0;
    }

    int m_epoll;
    CURLM* m_multi;
    std::chrono::steady_clock::time_point m_timerDue = std::chrono::steady_clock::time_point::max();
};

std::optional<Options> readOptions(int argc, char** argv) {
    Options options;
    for (int n = 1; n < argc; ++n) {
        const std::string name = argv[n];
        if (name == "--events-only") {
            options.fetch = false;
            continue;
        }
        if (++n == argc) return std::nullopt;
        const char* value = argv[n];
        if (name == "--stream")
            options.stream = value;
        else if (name == "--site")
            options.site = value;
        else if (name == "--screens")
            options.screens = std::atoi(value);
        else if (name == "--seconds")
            options.seconds = std::atof(value);
        else if (name == "--stagger")
            options.stagger = std::atof(value);
        else if (name == "--source")
            options.source = std::string("host!") + value;
        else if (name == "--out")
            options.out = value;
        else
            return std::nullopt;
    }
    if (options.stream.empty() || options.site.empty() || options.screens <= 0 || options.seconds <= 0 ||
        options.out.empty())
        return std::nullopt;
    return options;
}

void run(const Options& options) {
    Loop loop;
    std::vector<std::unique_ptr<Screen>> screens;
    std::vector<Screen*> due;
    std::deque<std::pair<double, Screen*>> reopening;  // a dropped stream is opened again half a second later
    const double start = wallSeconds();
    const double until = start + options.seconds;
    for (double now = start; now < until; now = wallSeconds()) {
        const auto open =
            static_cast<std::size_t>(std::min(1.0, (now - start) / std::max(options.stagger, 1e-3)) * options.screens);
        while (screens.size() < open) {
            screens.push_back(std::make_unique<Screen>(loop.Multi(), options, due));
            screens.back()->OpenStream();
        }
        for (const auto& [handle, result] : loop.Step(0.05)) {
            Screen* screen = nullptr;
            curl_easy_getinfo(handle, CURLINFO_PRIVATE, reinterpret_cast<char**>(&screen));
            const double at = wallSeconds();
            if (screen->Ended(handle, result, at)) reopening.emplace_back(at + 0.5, screen);
        }
        for (Screen* screen : std::exchange(due, {})) screen->FetchWanted();
        for (; !reopening.empty() && reopening.front().first <= now; reopening.pop_front())
            reopening.front().second->OpenStream();
    }
    std::ofstream out(options.out);
    for (const auto& screen : screens) out << screen->Figures().dump() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = readOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: caltrix-fleet-screens --stream URL --site URL --screens N --seconds S "
                     "[--stagger S] [--events-only] [--source ADDRESS] --out FILE\n";
        return 2;
    }
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    run(*options);
    curl_global_cleanup();
    return 0;
}
