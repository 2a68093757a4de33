// Any bytes as the settings file: read into a store (or set aside), then the typed reads and the
// composition values every editor starts from.
#include "editor/CompositionValues.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string file = "/tmp/lumeris-fuzz-settings-" + std::to_string(getpid());
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    lumeris::SettingsStore store(file, lumeris::SettingsStore::Persistence::InMemory);
    for (const auto& key : lumeris::SettingKeys::all()) {
        if (auto value = store.value(std::string(key.name))) {
            lumeris::SettingKeys::format(*value);
            lumeris::SettingKeys::problem(key, *value);
        }
    }
    lumeris::CompositionValues values;
    values.updateValuesFromControls(store, std::chrono::system_clock::time_point{});
    return 0;
}
