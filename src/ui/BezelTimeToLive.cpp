#include "ui/BezelTimeToLive.h"

#include <limits>

namespace lumeris {

double BezelTimeToLive::seconds() const {
    return isForever() ? std::numeric_limits<double>::infinity() : seconds_;
}

} // namespace lumeris
