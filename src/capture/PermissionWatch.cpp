#include "capture/PermissionWatch.h"

namespace lumeris {

bool PermissionWatch::checked(bool available) {
    if (available) {
        failures_ = 0;
        return false;
    }
    if (failures_ >= FAILURES_BEFORE_WINDOW) {
        failures_ = 0;
        return true;
    }
    ++failures_;
    return false;
}

} // namespace lumeris
