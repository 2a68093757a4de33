#pragma once

#include "ui/AlertRequest.h"

namespace lumeris {

// The alerts of the tray application and its preferences.
class ShellAlerts {
public:
    // "OK" (index 0) or "Cancel".
    static AlertRequest factoryReset();
    static AlertRequest imageCompression();
    static AlertRequest acknowledgements();
};

} // namespace lumeris
