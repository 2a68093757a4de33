#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <variant>
#include <vector>

namespace lumeris {

// Raw bytes kept byte for byte (the presets blob).
struct RawData {
    std::vector<std::uint8_t> bytes;
    bool operator==(const RawData&) const = default;
};

// A small dictionary of plain values (a recorded keyboard shortcut).
struct SettingDictionary {
    nlohmann::json entries = nlohmann::json::object();
    bool operator==(const SettingDictionary&) const = default;
};

using StringArray = std::vector<std::string>;

// Every kind of value the settings store holds.
using SettingValue =
    std::variant<bool, double, std::string, StringArray, SettingDictionary, RawData>;

} // namespace lumeris
