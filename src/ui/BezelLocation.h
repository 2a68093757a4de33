#pragma once

namespace lumeris {

// Where a bezel stands. `Normal`: centred on the main screen, its bottom edge 140 points above
// the screen's bottom edge.
enum class BezelLocation { Normal };

} // namespace lumeris
