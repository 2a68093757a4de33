#include "ui/TooltipTexts.h"

namespace lumeris {

std::string TooltipTexts::error(std::string_view message) {
    return std::string(ERROR_PREFIX).append(message);
}

} // namespace lumeris
