// Failure of the page parser on the saved page's content.
#pragma once

#include <stdexcept>

namespace caltrix {

// A line of the saved page that the parser cannot handle (a tag without end).
class ParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace caltrix
