#pragma once

#include <glib-object.h>
#include <utility>

namespace lumeris {

// Owns one reference to a GObject. Adopts a full reference on construction (use `retain` for a
// borrowed one, or `sinkFloating` for a freshly created widget) and releases it on destruction.
template <typename T> class GObjectPtr {
public:
    GObjectPtr() = default;
    explicit GObjectPtr(T* adopted) : object_(adopted) {}
    static GObjectPtr retain(T* borrowed) {
        if (borrowed != nullptr) {
            g_object_ref(borrowed);
        }
        return GObjectPtr(borrowed);
    }
    static GObjectPtr sinkFloating(T* created) {
        if (created != nullptr) {
            g_object_ref_sink(created);
        }
        return GObjectPtr(created);
    }
    ~GObjectPtr() { reset(); }
    GObjectPtr(const GObjectPtr& other) : GObjectPtr(retain(other.object_)) {}
    GObjectPtr(GObjectPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GObjectPtr& operator=(GObjectPtr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }

    void reset() {
        if (object_ != nullptr) {
            g_object_unref(std::exchange(object_, nullptr));
        }
    }
    T* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

} // namespace lumeris
