#include "capture/WallpaperLocator.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "base/Logger.h"

#include <cstdlib>
#include <fstream>
#include <gio/gio.h>
#include <sstream>

namespace lumeris {

namespace fs = std::filesystem;

namespace {

using SchemaHandle = GHandle<GSettingsSchema, g_settings_schema_unref>;

// g_settings_new aborts on an unknown schema, so the schema is looked up first.
SchemaHandle lookUpSchema(const char* id) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) {
        return nullptr;
    }
    return SchemaHandle(g_settings_schema_source_lookup(source, id, TRUE));
}

std::optional<std::string> gsettingsString(const char* schemaId, const char* key) {
    SchemaHandle schema = lookUpSchema(schemaId);
    if (!schema || !g_settings_schema_has_key(schema.get(), key)) {
        return std::nullopt;
    }
    GObjectPtr<GSettings> settings(g_settings_new_full(schema.get(), nullptr, nullptr));
    GCharPtr value(g_settings_get_string(settings.get(), key));
    if (!value || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value.get());
}

std::optional<std::string> gnomeWallpaper() {
    // The dark variant applies when the desktop prefers the dark style.
    if (gsettingsString("org.gnome.desktop.interface", "color-scheme") == "prefer-dark") {
        if (auto dark = gsettingsString("org.gnome.desktop.background", "picture-uri-dark")) {
            return dark;
        }
    }
    return gsettingsString("org.gnome.desktop.background", "picture-uri");
}

std::optional<std::string> readText(const fs::path& path) {
    std::ifstream file(path);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool contains(const char* haystack, const char* needle) {
    return haystack != nullptr && std::string_view(haystack).find(needle) != std::string::npos;
}

} // namespace

std::optional<std::string> WallpaperLocator::fromKdeConfig(std::string_view text) {
    bool inImageGroup = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        std::string_view line =
            trimmed(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
        if (line.starts_with('[')) {
            inImageGroup = line.ends_with("[Wallpaper][org.kde.image][General]");
        } else if (inImageGroup && line.starts_with("Image=")) {
            std::string_view value = trimmed(line.substr(6));
            if (!value.empty()) {
                return std::string(value);
            }
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<std::string> WallpaperLocator::fromXfceConfig(std::string_view text) {
    for (std::size_t at = text.find("name=\"last-image\""); at != std::string_view::npos;
         at = text.find("name=\"last-image\"", at + 1)) {
        std::size_t tagEnd = text.find('>', at);
        std::string_view tag = text.substr(at, tagEnd == text.npos ? text.npos : tagEnd - at);
        std::size_t value = tag.find("value=\"");
        if (value == std::string_view::npos) {
            continue;
        }
        value += 7;
        std::size_t close = tag.find('"', value);
        if (close != std::string_view::npos && close > value) {
            std::string_view raw = tag.substr(value, close - value);
            // "&amp;" is the only entity a file path is likely to carry.
            std::string path;
            for (std::size_t at = 0; at < raw.size();) {
                if (raw.substr(at, 5) == "&amp;") {
                    path += '&';
                    at += 5;
                } else {
                    path += raw[at++];
                }
            }
            return path;
        }
    }
    return std::nullopt;
}

std::optional<fs::path> WallpaperLocator::pathFromUri(const std::string& uri) {
    if (uri.starts_with("/")) {
        return fs::path(uri);
    }
    GCharPtr path(g_filename_from_uri(uri.c_str(), nullptr, nullptr));
    if (!path) {
        return std::nullopt;
    }
    return fs::path(path.get());
}

std::optional<fs::path> WallpaperLocator::configuredWallpaper() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    const fs::path config = g_get_user_config_dir();
    std::optional<std::string> found;
    if (contains(desktop, "KDE")) {
        if (auto text = readText(config / "plasma-org.kde.plasma.desktop-appletsrc")) {
            found = fromKdeConfig(*text);
        }
    } else if (contains(desktop, "XFCE")) {
        if (auto text = readText(config / "xfce4" / "xfconf" / "xfce-perchannel-xml" /
                                 "xfce4-desktop.xml")) {
            found = fromXfceConfig(*text);
        }
    } else if (contains(desktop, "Cinnamon")) {
        found = gsettingsString("org.cinnamon.desktop.background", "picture-uri");
    } else if (contains(desktop, "MATE")) {
        found = gsettingsString("org.mate.background", "picture-filename");
    } else {
        found = gnomeWallpaper();
    }
    if (!found) {
        LOG_DEBUG("no configured wallpaper found");
        return std::nullopt;
    }
    std::optional<fs::path> path = pathFromUri(*found);
    std::error_code code;
    if (!path || !fs::is_regular_file(*path, code)) {
        LOG_DEBUG("wallpaper is not a readable file: {}", *found);
        return std::nullopt;
    }
    return path;
}

} // namespace lumeris
