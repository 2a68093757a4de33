#include "settings/SettingsStore.h"

#include "base/AtomicFile.h"
#include "base/Base64.h"
#include "base/Logger.h"
#include "settings/SettingKeys.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <glib.h>
#include <sstream>
#include <vector>

namespace lumeris {

struct SettingsStore::Subscription::Registry {
    std::mutex mutex;
    std::uint64_t nextId = 1;
    // Shared so a callback stays alive while it runs even if its subscription ends meanwhile.
    std::map<std::uint64_t, std::pair<std::string, std::shared_ptr<Observer>>> observers;
};

namespace {

constexpr const char* DATA_TAG = "$data";

nlohmann::json toJson(const SettingValue& value) {
    return std::visit(
        [](const auto& v) -> nlohmann::json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, RawData>) {
                return nlohmann::json{{DATA_TAG, Base64::encode(v.bytes)}};
            } else if constexpr (std::is_same_v<T, SettingDictionary>) {
                return v.entries;
            } else {
                return nlohmann::json(v);
            }
        },
        value);
}

std::optional<SettingValue> fromJson(const nlohmann::json& json) {
    if (json.is_boolean()) {
        return json.get<bool>();
    }
    if (json.is_number()) {
        return json.get<double>();
    }
    if (json.is_string()) {
        return json.get<std::string>();
    }
    if (json.is_array()) {
        StringArray strings;
        for (const auto& item : json) {
            if (!item.is_string()) {
                return std::nullopt;
            }
            strings.push_back(item.get<std::string>());
        }
        return strings;
    }
    if (json.is_object()) {
        if (json.size() == 1 && json.contains(DATA_TAG) && json[DATA_TAG].is_string()) {
            // Text that is not Base64 is dropped like any value of an unknown kind.
            if (auto bytes = Base64::decode(json[DATA_TAG].get<std::string>())) {
                return RawData{std::move(*bytes)};
            }
            return std::nullopt;
        }
        return SettingDictionary{json};
    }
    return std::nullopt;
}

std::string timestamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

template <typename T> std::optional<T> typed(const std::optional<SettingValue>& value) {
    if (value && std::holds_alternative<T>(*value)) {
        return std::get<T>(*value);
    }
    return std::nullopt;
}

} // namespace

SettingsStore::Subscription& SettingsStore::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        registry_ = std::move(other.registry_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

SettingsStore::Subscription::~Subscription() {
    reset();
}

void SettingsStore::Subscription::reset() {
    if (auto registry = registry_.lock()) {
        std::lock_guard lock(registry->mutex);
        registry->observers.erase(id_);
    }
    registry_.reset();
}

SettingsStore::SettingsStore(std::filesystem::path file, Persistence persistence)
    : file_(std::move(file)), persistence_(persistence),
      registry_(std::make_shared<Subscription::Registry>()) {
    if (persistence_ == Persistence::Writable) {
        AtomicFile::removeStaleTemporaries(file_.parent_path());
    }
    load();
}

SettingsStore::~SettingsStore() = default;

std::filesystem::path SettingsStore::defaultFile() {
    return std::filesystem::path(g_get_user_config_dir()) / "lumeris" / "settings.json";
}

std::string SettingsStore::plainKey(const std::string& keyOrPath) {
    static const std::string prefix = OBSERVED_PREFIX;
    return keyOrPath.starts_with(prefix) ? keyOrPath.substr(prefix.size()) : keyOrPath;
}

void SettingsStore::load() {
    std::ifstream stream(file_, std::ios::binary);
    if (!stream) {
        return;
    }
    std::stringstream buffer;
    buffer << stream.rdbuf();
    nlohmann::json root = nlohmann::json::parse(buffer.str(), nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        setAside();
        return;
    }
    for (const auto& [key, json] : root.items()) {
        if (auto value = fromJson(json)) {
            values_.emplace(key, std::move(*value));
        } else {
            LOG_WARNING("Ignoring setting \"{}\" of an unknown kind", key);
        }
    }
}

void SettingsStore::setAside() {
    if (persistence_ == Persistence::InMemory) {
        const std::string message =
            "the settings file " + file_.string() +
            " is not valid; this run uses the defaults and leaves it as it is";
        std::fprintf(stderr, "lumeris: %s\n", message.c_str());
        LOG_ERROR("{}", message);
        return;
    }
    // Kept under a name of its own: the next save would otherwise replace what the user may want
    // back.
    const std::string stem = file_.string() + ".corrupt-" + timestamp();
    std::filesystem::path aside = stem;
    std::error_code error;
    for (int n = 2; std::filesystem::exists(aside, error); ++n) {
        aside = stem + "-" + std::to_string(n);
    }
    std::filesystem::rename(file_, aside, error);
    const std::string message =
        error
            ? "the settings file " + file_.string() + " is not valid and could not be set aside (" +
                  error.message() + "); the defaults are used"
            : "the settings file " + file_.string() + " was not valid; it was kept as " +
                  aside.string() + " and the defaults are used";
    std::fprintf(stderr, "lumeris: %s\n", message.c_str());
    LOG_ERROR("{}", message);
}

void SettingsStore::save() {
    std::string contents;
    {
        std::lock_guard lock(mutex_);
        if (deferSave_ > 0 || persistence_ == Persistence::InMemory) {
            return;
        }
        nlohmann::json root = nlohmann::json::object();
        for (const auto& [key, value] : values_) {
            root[key] = toJson(value);
        }
        contents = root.dump(2) + "\n";
    }
    std::error_code ignored;
    std::filesystem::create_directories(file_.parent_path(), ignored);
    std::string error;
    // Owner-only, as the file has always been written.
    if (!AtomicFile::writeFileAtomically(file_, contents, error, 0600)) {
        LOG_ERROR("Cannot write {}: {}", file_.string(), error);
    }
}

std::optional<SettingValue> SettingsStore::value(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto found = values_.find(plainKey(key));
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool SettingsStore::boolValue(const std::string& key, bool fallback) const {
    return typed<bool>(value(key)).value_or(fallback);
}

double SettingsStore::doubleValue(const std::string& key, double fallback) const {
    return typed<double>(value(key)).value_or(fallback);
}

std::string SettingsStore::string(const std::string& key, const std::string& fallback) const {
    return typed<std::string>(value(key)).value_or(fallback);
}

StringArray SettingsStore::stringArray(const std::string& key, const StringArray& fallback) const {
    return typed<StringArray>(value(key)).value_or(fallback);
}

Shortcut SettingsStore::shortcut(const std::string& key, const Shortcut& fallback) const {
    if (auto dictionary = typed<SettingDictionary>(value(key))) {
        if (auto shortcut = Shortcut::fromDictionary(*dictionary)) {
            return *shortcut;
        }
    }
    return fallback;
}

std::optional<RawData> SettingsStore::data(const std::string& key) const {
    return typed<RawData>(value(key));
}

void SettingsStore::set(const std::string& key, const SettingValue& value) {
    auto plain = plainKey(key);
    {
        std::lock_guard lock(mutex_);
        values_[plain] = value;
    }
    save();
    notify(plain);
}

void SettingsStore::remove(const std::string& key) {
    auto plain = plainKey(key);
    {
        std::lock_guard lock(mutex_);
        if (values_.erase(plain) == 0) {
            return;
        }
    }
    save();
    notify(plain);
}

void SettingsStore::setDefaultIfAbsent(const std::string& path, const SettingValue& value,
                                       bool force) {
    if (!force) {
        auto stored = this->value(path);
        if (stored && stored->index() == value.index()) {
            return;
        }
    }
    set(path, value);
}

SettingValue SettingsStore::registeredValue(const SettingKey& key,
                                            const StandardFolders& folders) const {
    return std::visit(
        [&](const auto& value) -> SettingValue {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string_view>) {
                return std::string(value);
            } else if constexpr (std::is_same_v<T, SettingKey::Derived>) {
                switch (value) {
                case SettingKey::Derived::ArchivesFolder:
                    return folders.archives.string();
                case SettingKey::Derived::DesktopFolder:
                    return folders.desktop.string();
                case SettingKey::Derived::CurrentWatermarkText:
                    // The watermark text as it stands now, which may already be the user's own.
                    return StringArray{string(SettingKeys::WATERMARK_TEXT, "")};
                }
                return std::string();
            } else if constexpr (std::is_same_v<T, std::monostate>) {
                return std::string();
            } else {
                return value;
            }
        },
        key.registered);
}

void SettingsStore::registerDefaultSettings(const StandardFolders& folders) {
    for (const auto& folder : {folders.archives, folders.desktop}) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            LOG_ERROR("Cannot create {}: {}", folder.string(), error.message());
        }
    }
    const Batch batch(*this);
    for (const SettingKey& key : SettingKeys::all()) {
        if (key.isRegistered()) {
            setDefaultIfAbsent(std::string(OBSERVED_PREFIX) + std::string(key.name),
                               registeredValue(key, folders));
        }
    }
}

SettingsStore::Batch::Batch(SettingsStore& store) : store_(store) {
    std::lock_guard lock(store_.mutex_);
    ++store_.deferSave_;
}

SettingsStore::Batch::~Batch() {
    {
        std::lock_guard lock(store_.mutex_);
        --store_.deferSave_;
    }
    store_.save();
}

void SettingsStore::factoryReset() {
    std::vector<std::string> removed;
    {
        std::lock_guard lock(mutex_);
        for (const auto& entry : values_) {
            removed.push_back(entry.first);
        }
        values_.clear();
    }
    std::error_code error;
    if (persistence_ == Persistence::Writable) {
        std::filesystem::remove(file_, error);
    }
    if (error) {
        LOG_ERROR("Cannot remove {}: {}", file_.string(), error.message());
    }
    LOG_INFO("All settings were removed");
    for (const auto& key : removed) {
        notify(key);
    }
}

SettingsStore::Subscription SettingsStore::observe(const std::string& keyOrPath,
                                                   Observer observer) {
    std::lock_guard lock(registry_->mutex);
    auto id = registry_->nextId++;
    registry_->observers.emplace(
        id, std::pair{plainKey(keyOrPath), std::make_shared<Observer>(std::move(observer))});
    return Subscription(registry_, id);
}

void SettingsStore::notify(const std::string& key) {
    std::vector<std::shared_ptr<Observer>> targets;
    {
        std::lock_guard lock(registry_->mutex);
        for (const auto& [id, entry] : registry_->observers) {
            if (entry.first == key) {
                targets.push_back(entry.second);
            }
        }
    }
    for (const auto& observer : targets) {
        (*observer)(key);
    }
}

} // namespace lumeris
