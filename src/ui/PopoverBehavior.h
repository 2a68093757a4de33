#pragma once

namespace lumeris {

// How a popover closes: transient ones close when the user clicks elsewhere; application-defined
// ones stay until the program closes them.
enum class PopoverBehavior { Transient, ApplicationDefined };

} // namespace lumeris
