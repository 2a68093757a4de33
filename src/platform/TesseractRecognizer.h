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
// Engines are expensive to start, so each one is kept after use and handed to the next call;
// concurrent calls each get their own engine.
class TesseractRecognizer : public TextRecognizer {
public:
    struct Options {
        // Folder holding eng.traineddata; empty lets Tesseract look where it was installed.
        std::string dataPath;
        std::string language = "eng";
        // Images with at most this many pixels are enlarged twice before recognition: captures
        // at scale 1 carry UI text a few pixels high, below what the engine reads reliably.
        long long upscaleBelowPixels = 2000LL * 1300LL;
        int upscaleFactor = 2;
        // Tesseract's page segmentation mode; sparse text finds the scattered text of a screen
        // rather than assuming a page of paragraphs.
        int pageSegMode = 11;
        // Tall images are read in this many horizontal bands at once, one engine each; 0 uses
        // one band per processor, at most 4.
        int bands = 0;
        // Bands overlap by this many pixels (of the possibly enlarged image); a line is kept by
        // the band that holds its centre, so lines up to twice as high are read whole once.
        int bandOverlap = 128;
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
    int bandCount(int height) const;
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
