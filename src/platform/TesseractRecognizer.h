#pragma once

#include "analysis/TextRecognizer.h"

#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace lumeris {

// Text recognition with Tesseract's LSTM engine and the English data, tuned for screenshots.
// A layout pass finds the lines first; each line is then read on its own, enlarged only when its
// text is small, with the lines shared among a few engines on their own threads. Engines are
// expensive to start, so each one is kept after use and handed to the next call; concurrent calls
// each get their own engines.
class TesseractRecognizer : public TextRecognizer {
public:
    struct Options {
        // Folder holding eng.traineddata; empty lets Tesseract look where it was installed.
        std::string dataPath;
        std::string language = "eng";
        // Tesseract's page segmentation mode for finding the lines; sparse text finds the
        // scattered text of a screen rather than assuming a page of paragraphs.
        int pageSegMode = 11;
        // Lines whose words are less high than this (in pixels, ascenders and descenders
        // included) are enlarged before they are read: at scale 1 the engine misreads UI text of
        // 9 points and less. Larger text is read as it is, which is cheaper and reads keys and
        // dense 11-point text better; text twice as high is halved.
        int enlargeBelowHeight = 14;
        int enlargement = 2;
        // Lines are read by this many engines at once, each on its own thread; 0 uses one per
        // processor, at most 4.
        int threads = 0;
    };

    TesseractRecognizer();
    explicit TesseractRecognizer(Options options);
    ~TesseractRecognizer() override;

    TextRecognitionOutcome recognize(const RgbaImage& image) override;

    // Loads the engines a recognition will want on a worker thread, so that loading the data
    // overlaps whatever the caller does before its first recognition.
    void warmUp();

private:
    struct EngineDeleter {
        void operator()(tesseract::TessBaseAPI* engine) const;
    };
    using Engine = std::unique_ptr<tesseract::TessBaseAPI, EngineDeleter>;

    Engine takeEngine(std::string* error);
    int threadCount() const;
    void giveBack(Engine engine);

    Engine newEngine(std::string* error) const;

    Options options_;
    std::mutex mutex_;
    std::condition_variable engineReturned_;
    std::vector<Engine> idle_;
    int warming_ = 0; // engines being loaded by warmUp, handed out as they arrive
    std::future<void> warmUp_;
};

} // namespace lumeris
