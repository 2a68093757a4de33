#pragma once

#include "base/GObjectPtr.h"
#include "ui/HotkeyRegistrar.h"

#include <gio/gio.h>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace lumeris {

// Keys bound by the desktop through org.freedesktop.portal.GlobalShortcuts (KDE Plasma on
// Wayland). The desktop owns the triggers: ours go along only as preferred ones, and the user
// may change or decline them in the desktop's dialog, so every registration is Pending and the
// outcome comes back as a DesktopAnswer. Registrations made in one turn of the main loop are
// bound together in one session; a changed set starts a new session, as the portal binds a
// session's shortcuts only once. Main thread.
class PortalShortcutsRegistrar : public HotkeyRegistrar,
                                 public std::enable_shared_from_this<PortalShortcutsRegistrar> {
public:
    static constexpr const char* INTERFACE = "org.freedesktop.portal.GlobalShortcuts";

    // On the given bus (the session bus, or a test bus).
    static std::shared_ptr<PortalShortcutsRegistrar> create(GObjectPtr<GDBusConnection> bus);
    ~PortalShortcutsRegistrar() override;
    PortalShortcutsRegistrar(const PortalShortcutsRegistrar&) = delete;
    PortalShortcutsRegistrar& operator=(const PortalShortcutsRegistrar&) = delete;

    // False once the portal turned out to lack the interface.
    bool supported() const override { return !version_ || *version_ != 0; }
    Result registerHotkey(const Shortcut& shortcut, Action action) override;
    void unregisterHotkey(const Shortcut& shortcut) override;
    void onDesktopAnswer(const std::function<void(const DesktopAnswer&)>& answered) override {
        answered_ = answered;
    }

    // The portal's trigger form: "CTRL+ALT+LOGO+4".
    static std::string trigger(const Shortcut& shortcut);

private:
    struct Entry {
        Shortcut shortcut;
        Action action;
    };
    using Answered = std::function<void(guint32 response, GVariant* results)>;

    explicit PortalShortcutsRegistrar(GObjectPtr<GDBusConnection> bus);
    void scheduleBind();
    void bind();
    void createSession(unsigned generation);
    void bindShortcuts(unsigned generation);
    void request(const char* method, GVariant* parameters, const std::string& token,
                 Answered answered);
    void closeSession();
    void close(const std::string& session);
    void answer(const DesktopAnswer& answer);
    DesktopAnswer bound(GVariant* shortcuts) const;
    static void signalled(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                          const gchar* signal, GVariant* parameters, gpointer data);

    GObjectPtr<GDBusConnection> bus_;
    std::map<std::string, Entry> entries_;
    // What the current session was asked to bind: "id=trigger" per entry.
    std::set<std::string> boundSet_;
    std::string session_;
    // Bumped by every bind, so that answers to an abandoned one are dropped.
    unsigned generation_ = 0;
    unsigned tokens_ = 0;
    // The interface's version once read; 0 where the portal lacks the interface.
    std::optional<guint32> version_;
    bool applicationNamed_ = false;
    bool bindScheduled_ = false;
    bool refused_ = false;
    guint signals_ = 0;
    std::set<guint> requests_;
    std::function<void(const DesktopAnswer&)> answered_;
};

} // namespace lumeris
