#pragma once

#include <glib.h>
#include <memory>

namespace lumeris {

// Frees a handle with the C function its library provides.
template <auto Free> struct FunctionDeleter {
    template <typename T> void operator()(T* handle) const { Free(handle); }
};

// A raw handle of a C library owned by a unique_ptr: GHandle<GSettingsSchema,
// g_settings_schema_unref>, GHandle<cairo_surface_t, cairo_surface_destroy>.
template <typename T, auto Free> using GHandle = std::unique_ptr<T, FunctionDeleter<Free>>;

// Memory from g_malloc (strings, byte buffers).
template <typename T = gchar> using GFreePtr = GHandle<T, g_free>;
using GCharPtr = GFreePtr<gchar>;
using GErrorPtr = GHandle<GError, g_error_free>;

// Hands a GError** to a C call and adopts whatever it sets:
//   GErrorPtr error;
//   g_file_set_contents(path, data, size, GErrorOut(error));
class GErrorOut {
public:
    explicit GErrorOut(GErrorPtr& owner) : owner_(owner) {}
    ~GErrorOut() {
        if (raw_ != nullptr) {
            owner_.reset(raw_);
        }
    }
    GErrorOut(const GErrorOut&) = delete;
    GErrorOut& operator=(const GErrorOut&) = delete;
    operator GError**() { return &raw_; }

private:
    GErrorPtr& owner_;
    GError* raw_ = nullptr;
};

} // namespace lumeris
