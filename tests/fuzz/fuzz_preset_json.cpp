// Any bytes as the stored presets: JSON that does not parse, or presets that are not presets, are
// refused; a preset that is read writes back as the same preset.
#include "presets/EditorPreset.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto json = nlohmann::json::parse(data, data + size, nullptr, false);
    if (json.is_discarded()) {
        return 0;
    }
    for (const auto& item : json.is_array() ? json : nlohmann::json::array({json})) {
        const auto preset = lumeris::EditorPreset::fromJson(item);
        if (preset && lumeris::EditorPreset::fromJson(preset->toJson()) != preset) {
            std::abort();
        }
    }
    return 0;
}
