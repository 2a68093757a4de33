#pragma once

namespace lumeris {

// The side of the anchor a popover opens on. The numbering is the one callers store and pass
// around (0 left, 1 bottom, 2 right, 3 top), so the values are fixed.
enum class PopoverEdge { Left = 0, Bottom = 1, Right = 2, Top = 3 };

} // namespace lumeris
