#include "ui/MainLoopTimer.h"

#include "base/Logger.h"

#include <cmath>
#include <exception>
#include <glib.h>

namespace lumeris {

namespace {

gboolean runTask(gpointer data) {
    try {
        (*static_cast<std::function<void()>*>(data))();
    } catch (const std::exception& error) {
        LOG_ERROR("A timed task failed: {}", error.what());
    }
    return G_SOURCE_REMOVE;
}

void deleteTask(gpointer data) {
    delete static_cast<std::function<void()>*>(data);
}

} // namespace

void MainLoopTimer::schedule(double seconds, std::function<void()> task) {
    const double milliseconds = std::max(0.0, std::round(seconds * 1000.0));
    g_timeout_add_full(G_PRIORITY_DEFAULT, static_cast<guint>(std::min(milliseconds, 4.0e9)),
                       runTask, new std::function<void()>(std::move(task)), deleteTask);
}

} // namespace lumeris
