#pragma once

#include "analysis/RgbaImage.h"
#include "analysis/TextObservation.h"

namespace lumeris {

// On-device text recognition. `recognize` blocks for as long as recognition takes, so callers run
// it off the main thread; implementations must allow concurrent calls from several threads.
class TextRecognizer {
public:
    virtual ~TextRecognizer() = default;
    virtual TextRecognitionOutcome recognize(const RgbaImage& image) = 0;
};

} // namespace lumeris
