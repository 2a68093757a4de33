#pragma once

#include <functional>
#include <glib.h>

namespace lumeris {

// Runs `work` once from the main loop: later when called on the main thread, soon when called
// from a worker.
inline void runOnMainContext(std::function<void()> work) {
    g_main_context_invoke_full(
        nullptr, G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        new std::function<void()>(std::move(work)),
        [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

// Runs `work` from the main loop once the current callback has returned, on any thread.
inline void runLater(std::function<void()> work) {
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        new std::function<void()>(std::move(work)),
        [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

} // namespace lumeris
