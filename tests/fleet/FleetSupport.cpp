#include "tests/fleet/FleetSupport.h"

#include <sstream>

namespace caltrix::fleet::test {

std::string StatusDocument(bool stale, const std::string& version) {
    std::string slots;
    for (int slot = 1; slot <= 11; ++slot) {
        if (slot > 1) slots += ",";
        slots +=
            R"({"slot":)" + std::to_string(slot) +
            R"(,"selection":"SERIEA;","lines":2,"resultsTime":"2027-01-15T08:00:00Z","panel":{"title":"ITALY-SERIE A","text":"JUVENTUS-INTER","markup":"[12]FT [15]2-1"},"goal":null})";
    }
    const std::string cycle =
        R"({"time":"2027-01-15T07:59:30.250Z","outcome":"ok","configuration":{"outcome":"applied","bytes":400},"pageBytes":8000,"competitions":3,"matches":9})";
    return R"({"program":{"version":")" + version +
           R"(","started":"2027-01-15T07:00:00Z"},"written":"2027-01-15T08:00:00Z","stale":)" +
           (stale ? "true" : "false") + R"(,"lastCycle":)" + cycle + R"(,"lastSuccessfulCycle":)" + cycle +
           R"(,"screen":{"uptimeSeconds":3600,"residentMemoryBytes":190000000,"rendererRestarts":2,"cycles":{"ok":100,"failed":3}},"slots":[)" +
           slots + "]}";
}

std::string JpegBody(std::size_t bytes) {
    std::string body(bytes, 'x');
    body.replace(0, 3, "\xFF\xD8\xFF");
    return body;
}

std::string Bearer(const std::string& token) { return "Bearer " + token; }

std::string Basic(const std::string& user, const std::string& password) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::string plain = user + ":" + password;
    std::string encoded;
    for (std::size_t i = 0; i < plain.size(); i += 3) {
        const std::size_t left = plain.size() - i;
        unsigned chunk = static_cast<unsigned char>(plain[i]) << 16;
        if (left > 1) chunk |= static_cast<unsigned char>(plain[i + 1]) << 8;
        if (left > 2) chunk |= static_cast<unsigned char>(plain[i + 2]);
        encoded += kAlphabet[(chunk >> 18) & 63];
        encoded += kAlphabet[(chunk >> 12) & 63];
        encoded += left > 1 ? kAlphabet[(chunk >> 6) & 63] : '=';
        encoded += left > 2 ? kAlphabet[chunk & 63] : '=';
    }
    return "Basic " + encoded;
}

FleetBench::FleetBench(std::optional<std::filesystem::path> state, std::size_t capacity) {
    FleetSettings settings;
    settings.fleetToken = kFleetToken;
    settings.operatorToken = kOperatorToken;
    settings.stateFolder = std::move(state);
    settings.version = "9.9.9";
    settings.capacity = capacity;
    settings.clock = [this] { return now; };
    settings.feedFigures = [] { return FeedFigures{5, 1, 1'799'999'990, 7}; };
    fleet = std::make_unique<Fleet>(std::move(settings));
    routes = fleet->Routes();
}

feed::HttpAnswer FleetBench::Call(const std::string& method, const std::string& path, std::string body,
                                  const std::string& authorization, bool loopback) {
    feed::HttpRequest request;
    request.method = method;
    request.path = path;
    request.body = std::move(body);
    request.peer = loopback ? "127.0.0.1" : "192.0.2.7";
    request.peerIsLoopback = loopback;
    if (!authorization.empty()) request.headers.emplace_back("authorization", authorization);
    request.headers.emplace_back("x-caltrix-operator", "1");
    for (const feed::HttpRoute& route : routes) {
        const bool folder = route.path.ends_with('/');
        if (folder ? path.starts_with(route.path) : path == route.path) {
            feed::HttpAnswer answer = request.body.size() > route.maxBodyBytes && !request.body.empty()
                                          ? feed::TextAnswer(413, "too large\n")
                                          : route.answer(request);
            fleet->CountAnswer(route.path, answer.status);
            return answer;
        }
    }
    return feed::TextAnswer(404, "not found\n");
}

feed::HttpAnswer FleetBench::Report(const std::string& name, std::string body) {
    return Call("PUT", "/feed/screens/" + name, std::move(body), Bearer(kFleetToken));
}

feed::HttpAnswer FleetBench::Picture(const std::string& name, std::string body) {
    return Call("PUT", "/feed/screens/" + name + "/picture", std::move(body), Bearer(kFleetToken));
}

feed::HttpAnswer FleetBench::AsOperator(const std::string& method, const std::string& path) {
    return Call(method, path, {}, Bearer(kOperatorToken));
}

double FleetBench::Metric(const std::string& sample) {
    std::istringstream text(AsOperator("GET", "/metrics").body);
    std::string line;
    while (std::getline(text, line))
        if (line.starts_with(sample + " ")) return std::stod(line.substr(sample.size() + 1));
    return -1;
}

}  // namespace caltrix::fleet::test
