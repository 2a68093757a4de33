#pragma once

#include "settings/SettingKey.h"
#include "settings/SettingValue.h"
#include "settings/Shortcut.h"
#include "settings/StandardFolders.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace lumeris {

// The user's preferences and small pieces of state: one flat key/value store kept in one JSON
// file. Every key is also reachable as "values." + key, the path controls are bound through;
// observers hear of every write through either form.
class SettingsStore {
public:
    static constexpr const char* OBSERVED_PREFIX = "values.";

    using Observer = std::function<void(const std::string& key)>;

    // Unregisters its observer when destroyed.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&&) noexcept = default;
        Subscription& operator=(Subscription&&) noexcept;
        ~Subscription();

    private:
        friend class SettingsStore;
        struct Registry;
        Subscription(std::weak_ptr<Registry> registry, std::uint64_t id)
            : registry_(std::move(registry)), id_(id) {}
        void reset();
        std::weak_ptr<Registry> registry_;
        std::uint64_t id_ = 0;
    };

    // Writable stores save every change; in-memory ones start from the file and never touch it
    // (one-off runs with overrides).
    enum class Persistence { Writable, InMemory };

    // Loads `file` if it exists; a file that does not parse is set aside under a name of its own
    // (in place for in-memory stores), one line on standard error says where, and the store
    // starts empty.
    explicit SettingsStore(std::filesystem::path file = defaultFile(),
                           Persistence persistence = Persistence::Writable);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // $XDG_CONFIG_HOME/lumeris/settings.json
    static std::filesystem::path defaultFile();
    const std::filesystem::path& file() const { return file_; }

    // Typed reads: the stored value when it has the asked-for type, else the fallback.
    // Keys may be given plain or with the "values." prefix.
    bool boolValue(const std::string& key, bool fallback) const;
    double doubleValue(const std::string& key, double fallback) const;
    std::string string(const std::string& key, const std::string& fallback) const;
    StringArray stringArray(const std::string& key, const StringArray& fallback) const;
    Shortcut shortcut(const std::string& key, const Shortcut& fallback) const;
    std::optional<RawData> data(const std::string& key) const;
    std::optional<SettingValue> value(const std::string& key) const;

    void set(const std::string& key, const SettingValue& value);
    void remove(const std::string& key);

    // Writes `value` through the observed path unless a value of the same type is stored.
    void setDefaultIfAbsent(const std::string& path, const SettingValue& value, bool force = false);

    // Writes every registered default that is missing or of the wrong type, in order.
    void
    registerDefaultSettings(const StandardFolders& folders = StandardFolders::fromEnvironment());

    // Removes every key and the file behind them.
    void factoryReset();

    Subscription observe(const std::string& keyOrPath, Observer observer);

    // Writes made while a batch lives reach the file once, when the last batch ends.
    class Batch {
    public:
        explicit Batch(SettingsStore& store);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SettingsStore& store_;
    };

    static std::string plainKey(const std::string& keyOrPath);

private:
    // A key's registered default, with the folders and the watermark text resolved.
    SettingValue registeredValue(const SettingKey& key, const StandardFolders& folders) const;
    void load();
    void setAside();
    void save();
    void notify(const std::string& key);

    std::filesystem::path file_;
    Persistence persistence_;
    mutable std::mutex mutex_;
    std::map<std::string, SettingValue> values_;
    int deferSave_ = 0;
    std::shared_ptr<Subscription::Registry> registry_;
};

} // namespace lumeris
