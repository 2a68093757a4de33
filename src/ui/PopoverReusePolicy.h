#pragma once

namespace lumeris {

// Whether a show under a registered name builds a fresh popover or shows the stored one again.
class PopoverReusePolicy {
public:
    enum class Action { Build, Reuse };

    // `entryAlive` only counts when `entryExists`: a stored popover whose anchor or window is gone
    // cannot be shown again and is rebuilt.
    static Action decide(bool reuseRequested, bool entryExists, bool entryAlive);
};

} // namespace lumeris
