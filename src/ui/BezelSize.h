#pragma once

namespace lumeris {

// How big a bezel is. `Normal`: 200 × 200 points.
enum class BezelSize { Normal };

} // namespace lumeris
