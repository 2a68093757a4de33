#pragma once

#include "analysis/TextObservation.h"
#include "base/RgbaImage.h"

namespace lumeris {

// On-device text recognition. `recognize` blocks for as long as recognition takes, so callers run
// it off the main thread; implementations must allow concurrent calls from several threads.
class TextRecognizer {
public:
    virtual ~TextRecognizer() = default;
    virtual TextRecognitionOutcome recognize(const RgbaImage& image) = 0;
};

} // namespace lumeris
