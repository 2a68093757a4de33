#pragma once

#include <string>
#include <vector>

namespace lumeris {

// A question or warning with buttons; the first button is the default one.
struct AlertRequest {
    std::string title;
    std::string informativeText;
    std::vector<std::string> buttons;
};

} // namespace lumeris
