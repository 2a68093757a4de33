#pragma once

#include "capture/RendererCopies.h"
#include "editor/gtk/EditorWindow.h"

#include <filesystem>
#include <vector>

namespace lumeris {

class SettingsStore;

// The desktop and custom background pictures placed where editors' renderers may read them,
// refreshed for every editor opened (the desktop or the chosen file may have changed) and removed
// when the application ends. Named per process, apart from `lumeris render` runs.
class EditorBackgrounds {
public:
    // Main thread (the desktop picture is measured against the screens).
    EditorWindow::Backgrounds resolve(const SettingsStore& settings);

private:
    RendererCopies copies_{"editor"};
};

} // namespace lumeris
