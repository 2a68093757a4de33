#pragma once

#include "editor/EditorController.h"

#include <memory>

namespace lumeris {

class SettingsStore;
class TextRecognizer;

// The editor's background work as the program runs it: recognition and smart text wrap on worker
// threads, answered on the main context of the calling thread.
class EditorBackgroundWork {
public:
    // Recognition with the redaction rules switched on in `settings` when it starts.
    static EditorController::RecognitionStarter
    recognition(std::shared_ptr<TextRecognizer> recognizer, const SettingsStore& settings);

    static EditorController::TextWrapStarter textWrap(std::shared_ptr<TextRecognizer> recognizer);
};

} // namespace lumeris
