#pragma once

#include "analysis/TextRecognizer.h"

#include <atomic>
#include <thread>

namespace lumeris {

// Answers every call with `outcome`; counts the calls and remembers the thread of the last.
class FakeTextRecognizer : public TextRecognizer {
public:
    FakeTextRecognizer() = default;
    explicit FakeTextRecognizer(TextRecognitionOutcome scripted) : outcome(std::move(scripted)) {}

    TextRecognitionOutcome recognize(const RgbaImage&) override {
        recognizedOn = std::this_thread::get_id();
        ++calls;
        return outcome;
    }

    TextRecognitionOutcome outcome;
    std::atomic<std::thread::id> recognizedOn;
    std::atomic<int> calls = 0;
};

} // namespace lumeris
