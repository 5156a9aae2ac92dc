// A panel cannot be hosted: the library is missing or not the panel library,
// or a saved panel state cannot be read. The message names the file.
#pragma once

#include <stdexcept>
#include <string>

namespace caltrix {

class PanelHostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace caltrix
