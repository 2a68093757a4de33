#include "platform/PortalShortcutsRegistrar.h"

#include "base/GLibHandles.h"
#include "base/Logger.h"
#include "capture/PortalCaptureTool.h"

#include <gdk/gdk.h>

namespace lumeris {

namespace {

using GVariantPtr = GHandle<GVariant, g_variant_unref>;

constexpr const char* BUS_NAME = PortalCaptureTool::BUS_NAME;
constexpr const char* OBJECT_PATH = PortalCaptureTool::OBJECT_PATH;
// The id the desktop files our keys under when it cannot tell it from how we were started.
constexpr const char* APPLICATION_ID = "app.lumeris.Lumeris";

// One portal request in flight: its Response subscription and the call that makes it.
struct Request {
    std::weak_ptr<PortalShortcutsRegistrar> owner;
    GDBusConnection* bus = nullptr;
    guint subscription = 0;
    bool done = false;
    std::function<void(guint32, GVariant*)> answered;
    std::function<void(guint)> forget;

    void finish(guint32 response, GVariant* results) {
        auto self = owner.lock();
        // A registrar that is gone took its subscriptions with it.
        if (done || !self) {
            return;
        }
        done = true;
        forget(subscription);
        g_dbus_connection_signal_unsubscribe(bus, subscription);
        answered(response, results);
    }
};

using RequestRef = std::shared_ptr<Request>;

} // namespace

std::shared_ptr<PortalShortcutsRegistrar>
PortalShortcutsRegistrar::create(GObjectPtr<GDBusConnection> bus) {
    auto registrar =
        std::shared_ptr<PortalShortcutsRegistrar>(new PortalShortcutsRegistrar(std::move(bus)));
    registrar->signals_ = g_dbus_connection_signal_subscribe(
        registrar->bus_.get(), BUS_NAME, INTERFACE, nullptr, OBJECT_PATH, nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE, &PortalShortcutsRegistrar::signalled,
        new std::weak_ptr<PortalShortcutsRegistrar>(registrar),
        [](gpointer data) { delete static_cast<std::weak_ptr<PortalShortcutsRegistrar>*>(data); });
    return registrar;
}

PortalShortcutsRegistrar::PortalShortcutsRegistrar(GObjectPtr<GDBusConnection> bus)
    : bus_(std::move(bus)) {}

PortalShortcutsRegistrar::~PortalShortcutsRegistrar() {
    g_dbus_connection_signal_unsubscribe(bus_.get(), signals_);
    for (guint subscription : requests_) {
        g_dbus_connection_signal_unsubscribe(bus_.get(), subscription);
    }
    closeSession();
}

std::string PortalShortcutsRegistrar::trigger(const Shortcut& shortcut) {
    const char* key = gdk_keyval_name(shortcut.keyCode);
    if (key == nullptr) {
        return "";
    }
    std::string text;
    const std::pair<std::uint32_t, const char*> modifiers[] = {
        {Shortcut::CONTROL_MASK, "CTRL+"},
        {Shortcut::ALT_MASK, "ALT+"},
        {Shortcut::SHIFT_MASK, "SHIFT+"},
        {Shortcut::SUPER_MASK, "LOGO+"},
    };
    for (const auto& [mask, name] : modifiers) {
        if (shortcut.modifierFlags & mask) {
            text += name;
        }
    }
    return text + key;
}

HotkeyRegistrar::Result PortalShortcutsRegistrar::registerHotkey(const Shortcut& shortcut,
                                                                 Action action) {
    if (!supported()) {
        return Result::Unsupported;
    }
    const std::string id = action.id;
    entries_[id] = Entry{shortcut, std::move(action)};
    scheduleBind();
    return Result::Pending;
}

void PortalShortcutsRegistrar::unregisterHotkey(const Shortcut& shortcut) {
    std::erase_if(entries_, [&](const auto& entry) { return entry.second.shortcut == shortcut; });
    scheduleBind();
}

void PortalShortcutsRegistrar::scheduleBind() {
    if (bindScheduled_) {
        return;
    }
    bindScheduled_ = true;
    // Main thread: the hot keys are set up again as a whole, unregistered then registered.
    g_idle_add_full(
        G_PRIORITY_DEFAULT_IDLE,
        [](gpointer data) {
            if (auto self = static_cast<std::weak_ptr<PortalShortcutsRegistrar>*>(data)->lock()) {
                self->bindScheduled_ = false;
                self->bind();
            }
            return G_SOURCE_REMOVE;
        },
        new std::weak_ptr<PortalShortcutsRegistrar>(weak_from_this()),
        [](gpointer data) { delete static_cast<std::weak_ptr<PortalShortcutsRegistrar>*>(data); });
}

void PortalShortcutsRegistrar::bind() {
    std::set<std::string> wanted;
    for (const auto& [id, entry] : entries_) {
        wanted.insert(id + "=" + trigger(entry.shortcut));
    }
    // An unchanged set stays bound (or on its way); a refused one is asked again.
    if (wanted == boundSet_ && !refused_) {
        return;
    }
    closeSession();
    boundSet_ = wanted;
    refused_ = false;
    const unsigned generation = ++generation_;
    if (entries_.empty()) {
        return;
    }
    if (!applicationNamed_) {
        applicationNamed_ = true;
        // Where the portal cannot tell our application id from how we were started (a
        // terminal), this names us. It has to come before any other portal call, and is refused
        // harmlessly where the id is known already.
        g_dbus_connection_call(bus_.get(), BUS_NAME, OBJECT_PATH,
                               "org.freedesktop.host.portal.Registry", "Register",
                               g_variant_new("(sa{sv})", APPLICATION_ID, nullptr), nullptr,
                               G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr, nullptr);
    }
    if (version_) {
        if (*version_ == 0) {
            answer({DesktopAnswer::Outcome::Unsupported, {}});
        } else {
            createSession(generation);
        }
        return;
    }
    auto self = weak_from_this();
    // The interface is there only where a backend implements it; its version says so.
    g_dbus_connection_call(
        bus_.get(), BUS_NAME, OBJECT_PATH, "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", INTERFACE, "version"), G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE,
        -1, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::pair<std::weak_ptr<PortalShortcutsRegistrar>, unsigned>> context(
                static_cast<std::pair<std::weak_ptr<PortalShortcutsRegistrar>, unsigned>*>(data));
            GErrorPtr error;
            GVariantPtr reply(
                g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, GErrorOut(error)));
            auto self = context->first.lock();
            if (!self) {
                return;
            }
            guint32 version = 0;
            if (reply) {
                GVariantPtr value(g_variant_get_child_value(reply.get(), 0));
                GVariantPtr inner(g_variant_get_variant(value.get()));
                if (g_variant_is_of_type(inner.get(), G_VARIANT_TYPE_UINT32)) {
                    version = g_variant_get_uint32(inner.get());
                }
            } else {
                LOG_INFO("No global shortcuts portal: {}", error->message);
            }
            self->version_ = version;
            if (version == 0) {
                self->answer({DesktopAnswer::Outcome::Unsupported, {}});
            } else if (context->second == self->generation_) {
                self->createSession(context->second);
            }
        },
        new std::pair<std::weak_ptr<PortalShortcutsRegistrar>, unsigned>(self, generation));
}

void PortalShortcutsRegistrar::createSession(unsigned generation) {
    const std::string token = "lumeris" + std::to_string(++tokens_);
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "session_handle_token",
                          g_variant_new_string(token.c_str()));
    request("CreateSession", g_variant_new("(a{sv})", &options), token,
            [this, generation](guint32 response, GVariant* results) {
                const char* session = nullptr;
                if (response == 0 && results != nullptr) {
                    g_variant_lookup(results, "session_handle", "&s", &session);
                }
                if (generation != generation_) {
                    // Asked for a set that has changed since: a newer session follows.
                    if (session != nullptr) {
                        close(session);
                    }
                    return;
                }
                if (session == nullptr) {
                    LOG_ERROR("The desktop opened no shortcuts session (response {})", response);
                    refused_ = true;
                    answer({DesktopAnswer::Outcome::Refused, {}});
                    return;
                }
                session_ = session;
                bindShortcuts(generation);
            });
}

void PortalShortcutsRegistrar::bindShortcuts(unsigned generation) {
    GVariantBuilder shortcuts;
    g_variant_builder_init(&shortcuts, G_VARIANT_TYPE("a(sa{sv})"));
    for (const auto& [id, entry] : entries_) {
        GVariantBuilder properties;
        g_variant_builder_init(&properties, G_VARIANT_TYPE_VARDICT);
        g_variant_builder_add(&properties, "{sv}", "description",
                              g_variant_new_string(entry.action.description.c_str()));
        const std::string preferred = trigger(entry.shortcut);
        if (!preferred.empty()) {
            g_variant_builder_add(&properties, "{sv}", "preferred_trigger",
                                  g_variant_new_string(preferred.c_str()));
        }
        g_variant_builder_add(&shortcuts, "(sa{sv})", id.c_str(), &properties);
    }
    const std::string token = "lumeris" + std::to_string(++tokens_);
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    request("BindShortcuts",
            g_variant_new("(oa(sa{sv})sa{sv})", session_.c_str(), &shortcuts, "", &options), token,
            [this, generation](guint32 response, GVariant* results) {
                if (generation != generation_) {
                    return;
                }
                GVariantPtr list;
                if (response == 0 && results != nullptr) {
                    list.reset(
                        g_variant_lookup_value(results, "shortcuts", G_VARIANT_TYPE("a(sa{sv})")));
                }
                if (!list) {
                    // 1: the user declined in the desktop's dialog; 2: the desktop failed.
                    if (response == 1) {
                        LOG_INFO("The user declined the shortcuts");
                    } else {
                        LOG_ERROR("The desktop did not bind the shortcuts (response {})", response);
                    }
                    refused_ = true;
                    answer({DesktopAnswer::Outcome::Refused, {}});
                    return;
                }
                answer(bound(list.get()));
            });
}

void PortalShortcutsRegistrar::request(const char* method, GVariant* parameters,
                                       const std::string& token, Answered answered) {
    auto pending = std::make_shared<Request>();
    pending->owner = weak_from_this();
    pending->bus = bus_.get();
    pending->answered = std::move(answered);
    pending->forget = [this](guint subscription) {
        requests_.erase(subscription);
    };
    const std::string path = PortalCaptureTool::requestPath(bus_.get(), token);
    // Main thread: the Response on the request object, after the desktop's dialog if any.
    pending->subscription = g_dbus_connection_signal_subscribe(
        bus_.get(), BUS_NAME, "org.freedesktop.portal.Request", "Response", path.c_str(), nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
           GVariant* parameters, gpointer data) {
            guint32 response = 2;
            GVariant* results = nullptr;
            g_variant_get(parameters, "(u@a{sv})", &response, &results);
            GVariantPtr owned(results);
            // Held here: finishing unsubscribes, which frees the subscription's reference.
            RequestRef request = *static_cast<RequestRef*>(data);
            request->finish(response, results);
        },
        new RequestRef(pending), [](gpointer data) { delete static_cast<RequestRef*>(data); });
    requests_.insert(pending->subscription);
    // Main thread: the call itself failing (no such method, no portal) is the only answer.
    g_dbus_connection_call(
        bus_.get(), BUS_NAME, OBJECT_PATH, INTERFACE, method, parameters, G_VARIANT_TYPE("(o)"),
        G_DBUS_CALL_FLAGS_NONE, G_MAXINT, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<RequestRef> request(static_cast<RequestRef*>(data));
            GErrorPtr error;
            GVariantPtr reply(
                g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, GErrorOut(error)));
            if (!reply) {
                LOG_ERROR("Shortcuts portal call failed: {}", error->message);
                (*request)->finish(2, nullptr);
            }
        },
        new RequestRef(pending));
}

void PortalShortcutsRegistrar::closeSession() {
    if (!session_.empty()) {
        close(session_);
        session_.clear();
    }
}

void PortalShortcutsRegistrar::close(const std::string& session) {
    g_dbus_connection_call(bus_.get(), BUS_NAME, session.c_str(), "org.freedesktop.portal.Session",
                           "Close", nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr,
                           nullptr);
}

void PortalShortcutsRegistrar::answer(const DesktopAnswer& answer) {
    if (answered_) {
        answered_(answer);
    }
}

HotkeyRegistrar::DesktopAnswer PortalShortcutsRegistrar::bound(GVariant* shortcuts) const {
    DesktopAnswer answer{DesktopAnswer::Outcome::Bound, {}};
    GVariantIter iterator;
    g_variant_iter_init(&iterator, shortcuts);
    const char* id = nullptr;
    GVariant* properties = nullptr;
    while (g_variant_iter_next(&iterator, "(&s@a{sv})", &id, &properties)) {
        GVariantPtr owned(properties);
        const char* description = nullptr;
        if (entries_.count(id) != 0 &&
            g_variant_lookup(properties, "trigger_description", "&s", &description) &&
            *description != '\0') {
            answer.triggers[id] = description;
        }
    }
    return answer;
}

// Main thread: a key went down, or the user changed the keys in the desktop's settings.
void PortalShortcutsRegistrar::signalled(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                         const gchar* signal, GVariant* parameters, gpointer data) {
    auto self = static_cast<std::weak_ptr<PortalShortcutsRegistrar>*>(data)->lock();
    if (!self || self->session_.empty()) {
        return;
    }
    const char* session = nullptr;
    if (g_strcmp0(signal, "Activated") == 0 &&
        g_variant_is_of_type(parameters, G_VARIANT_TYPE("(osta{sv})"))) {
        const char* id = nullptr;
        g_variant_get(parameters, "(&o&sta{sv})", &session, &id, nullptr, nullptr);
        auto entry = self->entries_.find(id);
        if (self->session_ == session && entry != self->entries_.end()) {
            // Copied: the action may set the keys up again, replacing the entry.
            auto pressed = entry->second.action.pressed;
            pressed();
        }
    } else if (g_strcmp0(signal, "ShortcutsChanged") == 0 &&
               g_variant_is_of_type(parameters, G_VARIANT_TYPE("(oa(sa{sv}))"))) {
        GVariantPtr shortcuts(g_variant_get_child_value(parameters, 1));
        g_variant_get_child(parameters, 0, "&o", &session);
        if (self->session_ == session) {
            self->answer(self->bound(shortcuts.get()));
        }
    }
}

} // namespace lumeris
