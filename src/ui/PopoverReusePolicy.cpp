#include "ui/PopoverReusePolicy.h"

namespace lumeris {

PopoverReusePolicy::Action PopoverReusePolicy::decide(bool reuseRequested, bool entryExists,
                                                      bool entryAlive) {
    return reuseRequested && entryExists && entryAlive ? Action::Reuse : Action::Build;
}

} // namespace lumeris
