#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace lumeris {

// Application addresses that open an editor: "lumeris://openEditor?path=<file URL>".
class EditorAddress {
public:
    static constexpr const char* SCHEME = "lumeris";

    // The local file the address names; none for another host, a missing or empty "path" item,
    // or a value that is not a local file URL or absolute path (such addresses are ignored).
    static std::optional<std::filesystem::path> fileToOpen(const std::string& address);
};

} // namespace lumeris
