#include "app/EditorAddress.h"

#include "base/GLibHandles.h"

#include <glib.h>

namespace lumeris {

namespace {

using UriPtr = GHandle<GUri, g_uri_unref>;
using ParamsPtr = GHandle<GHashTable, g_hash_table_unref>;

} // namespace

std::optional<std::filesystem::path> EditorAddress::fileToOpen(const std::string& address) {
    UriPtr uri(g_uri_parse(address.c_str(), G_URI_FLAGS_ENCODED_QUERY, nullptr));
    if (!uri || g_strcmp0(g_uri_get_scheme(uri.get()), SCHEME) != 0 ||
        g_strcmp0(g_uri_get_host(uri.get()), "openEditor") != 0 ||
        g_uri_get_query(uri.get()) == nullptr) {
        return std::nullopt;
    }
    ParamsPtr params(
        g_uri_parse_params(g_uri_get_query(uri.get()), -1, "&", G_URI_PARAMS_NONE, nullptr));
    const auto* value =
        params ? static_cast<const char*>(g_hash_table_lookup(params.get(), "path")) : nullptr;
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    if (value[0] == '/') {
        return std::filesystem::path(value);
    }
    GCharPtr path(g_filename_from_uri(value, nullptr, nullptr));
    if (!path) {
        return std::nullopt;
    }
    return std::filesystem::path(path.get());
}

} // namespace lumeris
