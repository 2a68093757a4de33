#pragma once

#include "ui/BezelDelegate.h"
#include "ui/BezelParameters.h"
#include "ui/BezelSurface.h"
#include "ui/gtk/BezelContentView.h"

#include <functional>
#include <gtkmm/window.h>
#include <memory>

namespace lumeris {

// The borderless popup a bezel is drawn in: never focused, transparent to clicks, translucent
// where a compositor runs and opaque with shaped corners where none does.
class BezelWindow : public Gtk::Window, public BezelSurface {
public:
    // Opacity steps of a fade, about one per frame.
    static constexpr unsigned FADE_STEP_MILLISECONDS = 16;

    // `close` hands the window to `onClose`, which takes it out of the registry.
    BezelWindow(BezelParameters parameters, std::function<void(BezelWindow*)> onClose);
    ~BezelWindow() override;

    BezelContentView& bezelContentView();
    const std::shared_ptr<BezelDelegate>& bezelDelegate() const { return bezelDelegate_; }
    void setBezelDelegate(std::shared_ptr<BezelDelegate> delegate);
    const BezelParameters& parameters() const { return parameters_; }

    // Maps the window where BezelGeometry puts it, transparent, without activating anything.
    void showWithoutActivating();

    void fadeTo(double alpha, double seconds, std::function<void()> completion) override;
    void close() override;

private:
    struct Fade;
    static gboolean onFadeStep(gpointer data);
    void applyCompositing();
    void stopFade();

    BezelParameters parameters_;
    std::unique_ptr<BezelContentView> bezelContentView_;
    std::shared_ptr<BezelDelegate> bezelDelegate_;
    std::function<void(BezelWindow*)> onClose_;
    std::unique_ptr<Fade> fade_;
    guint fadeSource_ = 0;
};

} // namespace lumeris
