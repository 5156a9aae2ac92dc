#include "feed/service/HttpExchange.h"

namespace caltrix::feed {
namespace {

const std::string* valueOf(const HttpFields& fields, std::string_view name) {
    for (const auto& [key, value] : fields)
        if (key == name) return &value;
    return nullptr;
}

}  // namespace

const std::string* HttpRequest::Header(std::string_view lowerCaseName) const { return valueOf(headers, lowerCaseName); }

const std::string* HttpRequest::Argument(std::string_view name) const { return valueOf(query, name); }

}  // namespace caltrix::feed
