// Any text as a ratio: parsed or refused, and any canvas it gives is finite and positive.
#include "analysis/ImageSize.h"
#include "base/Diagnostics.h"
#include "settings/SettingKeys.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto quiet = lumeris::Diagnostics::setSink([](const std::string&) {});
    const std::string text(reinterpret_cast<const char*>(data), size);
    lumeris::SettingKeys::isRatio(text);
    const lumeris::ImageSize canvas(20, 100, text, "", 800, 600);
    if (!(std::isfinite(canvas.bgWidth) && std::isfinite(canvas.bgHeight) && canvas.bgWidth > 0 &&
          canvas.bgHeight > 0)) {
        std::abort();
    }
    return 0;
}
