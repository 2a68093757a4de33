#pragma once

#include <filesystem>

namespace lumeris {

// The one private folder (mode 0700) of this process in the user's temporary directory, where
// captures and opened pictures are kept as PNG files. Intake never deletes them: a reopened
// editor reads them again.
class TemporaryFiles {
public:
    // Made on first use; empty (logged) when it cannot be made.
    static std::filesystem::path folder();
};

} // namespace lumeris
