#pragma once

#include "analysis/TextRecognizer.h"

#include <atomic>
#include <thread>

namespace lumeris {

// Answers every recognition with `outcome` and notes the thread it ran on.
class ScriptedRecognizer : public TextRecognizer {
public:
    explicit ScriptedRecognizer(TextRecognitionOutcome scripted = {})
        : outcome(std::move(scripted)) {}
    TextRecognitionOutcome recognize(const RgbaImage&) override {
        recognizedOn = std::this_thread::get_id();
        return outcome;
    }

    TextRecognitionOutcome outcome;
    std::atomic<std::thread::id> recognizedOn;
};

} // namespace lumeris
