#pragma once

#include "base/RgbaImage.h"
#include "editor/TextDetection.h"

#include <functional>
#include <glib.h>
#include <memory>
#include <string>
#include <vector>

namespace lumeris {

class TextRecognizer;

// Recognition in the background for the editor: the bitmap is recognised on a worker thread and
// the outcome is brought back to a main context. Owners hold themselves weakly in the handlers.
class TextRecognitionTask {
public:
    struct Handlers {
        // Main context: the joined recognised text, when there is any (for the status menu).
        std::function<void(const std::string& text)> addDetectedText;
        // Main context: the applied result.
        std::function<void(TextDetectionResult result)> applied;
    };

    // Prints "Unable to perform the requests: <error>." and calls neither handler when
    // recognition cannot be performed. `context` null means the default main context.
    static void start(std::shared_ptr<TextRecognizer> recognizer,
                      std::shared_ptr<const RgbaImage> bitmap, double imagePointWidth,
                      std::vector<std::string> patterns, Handlers handlers,
                      GMainContext* context = nullptr);

    // The line printed when recognition cannot be performed.
    static std::string failureLine(const std::string& error);
};

} // namespace lumeris
