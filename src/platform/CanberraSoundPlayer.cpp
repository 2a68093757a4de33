#include "platform/CanberraSoundPlayer.h"

#include "base/Logger.h"

#include <canberra-gtk.h>
#include <canberra.h>

namespace lumeris {

std::optional<std::string> CanberraSoundPlayer::eventId(const std::string& name) {
    if (name == PURR) {
        return "audio-volume-change";
    }
    if (name == GLASS) {
        return "complete";
    }
    if (name == BOTTLE) {
        return "dialog-warning";
    }
    return std::nullopt;
}

void CanberraSoundPlayer::play(const std::string& name) {
    auto id = eventId(name);
    if (!id) {
        LOG_WARNING("No sound named {}", name);
        return;
    }
    // The per-display context belongs to libcanberra-gtk, which also fills in the application
    // and window properties.
    ca_context* context = ca_gtk_context_get();
    if (context == nullptr) {
        LOG_DEBUG("No sound context; {} stays silent", name);
        return;
    }
    const int result = ca_context_play(context, 0, CA_PROP_EVENT_ID, id->c_str(),
                                       CA_PROP_EVENT_DESCRIPTION, name.c_str(), nullptr);
    if (result != CA_SUCCESS) {
        LOG_DEBUG("Sound {} ({}) did not play: {}", name, *id, ca_strerror(result));
    }
}

} // namespace lumeris
