#include "platform/TesseractRecognizer.h"

#include "app/Logger.h"

#include <algorithm>
#include <cstdint>
#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>
#include <unicode/unistr.h>

namespace lumeris {

namespace {

struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using PixHandle = std::unique_ptr<Pix, PixDeleter>;

struct TextDeleter {
    void operator()(char* text) const { delete[] text; }
};

// Grey levels over white (transparent areas read as background), with dark themes inverted so the
// engine always sees dark text on a light ground, which its models were trained on.
PixHandle greyscale(const RgbaImage& image) {
    PixHandle pix(pixCreate(image.width, image.height, 8));
    if (!pix) {
        return nullptr;
    }
    l_uint32* data = pixGetData(pix.get());
    const int wordsPerLine = pixGetWpl(pix.get());
    std::uint64_t sum = 0;
    for (int y = 0; y < image.height; ++y) {
        l_uint32* line = data + static_cast<std::ptrdiff_t>(y) * wordsPerLine;
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.at(x, y);
            const int luma = (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
            const int grey = (luma * p[3] + 255 * (255 - p[3])) / 255;
            SET_DATA_BYTE(line, x, grey);
            sum += static_cast<std::uint64_t>(grey);
        }
    }
    const std::uint64_t pixels = static_cast<std::uint64_t>(image.width) * image.height;
    if (pixels > 0 && sum / pixels < 128) {
        pixInvert(pix.get(), pix.get());
    }
    return pix;
}

} // namespace

void TesseractRecognizer::EngineDeleter::operator()(tesseract::TessBaseAPI* engine) const {
    if (engine) {
        engine->End();
        delete engine;
    }
}

TesseractRecognizer::TesseractRecognizer() : TesseractRecognizer(Options{}) {}

TesseractRecognizer::TesseractRecognizer(Options options) : options_(std::move(options)) {}

TesseractRecognizer::~TesseractRecognizer() = default;

TesseractRecognizer::Engine TesseractRecognizer::takeEngine(std::string* error) {
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            Engine engine = std::move(idle_.back());
            idle_.pop_back();
            return engine;
        }
    }
    Engine engine(new tesseract::TessBaseAPI());
    const char* dataPath = options_.dataPath.empty() ? nullptr : options_.dataPath.c_str();
    if (engine->Init(dataPath, options_.language.c_str(), tesseract::OEM_LSTM_ONLY) != 0) {
        *error = "cannot load the text recognition data for \"" + options_.language + "\"";
        return nullptr;
    }
    // Screens scatter text in panels, menus and columns: find every piece of text rather than
    // assume a page of paragraphs.
    engine->SetPageSegMode(tesseract::PSM_SPARSE_TEXT);
    engine->SetVariable("debug_file", "/dev/null");
    return engine;
}

void TesseractRecognizer::giveBack(Engine engine) {
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(engine));
}

TextRecognitionOutcome TesseractRecognizer::recognize(const RgbaImage& image) {
    if (image.empty() ||
        image.pixels.size() < static_cast<std::size_t>(image.width) * image.height * 4) {
        return TextRecognitionOutcome::failure("the image is empty");
    }
    std::string error;
    Engine engine = takeEngine(&error);
    if (!engine) {
        LOG_ERROR("text recognition unavailable: {}", error);
        return TextRecognitionOutcome::failure(error);
    }

    PixHandle pix = greyscale(image);
    if (!pix) {
        giveBack(std::move(engine));
        return TextRecognitionOutcome::failure("out of memory");
    }
    const long long area = static_cast<long long>(image.width) * image.height;
    const int factor = area <= options_.upscaleBelowPixels ? 2 : 1;
    if (factor > 1) {
        PixHandle larger(pixScaleGrayLI(pix.get(), factor, factor));
        if (larger) {
            pix = std::move(larger);
        }
    }
    engine->SetImage(pix.get());
    engine->SetSourceResolution(144);
    if (engine->Recognize(nullptr) != 0) {
        engine->Clear();
        giveBack(std::move(engine));
        return TextRecognitionOutcome::failure("recognition failed");
    }

    // Boxes become fractions of the original image, lower-left origin. A character's box spans the
    // height of its line, so a range of characters is boxed like a run of text, not like ink.
    const double width = static_cast<double>(image.width) * factor;
    const double height = static_cast<double>(image.height) * factor;
    TextRecognitionOutcome outcome;
    std::string text;
    std::vector<std::optional<Rect>> boxes;
    int lineTop = 0;
    int lineBottom = 0;
    auto finishLine = [&] {
        if (!text.empty()) {
            outcome.observations.push_back({TextCandidate(std::move(text), std::move(boxes))});
        }
        text.clear();
        boxes.clear();
    };

    std::unique_ptr<tesseract::ResultIterator> it(engine->GetIterator());
    if (it && !it->Empty(tesseract::RIL_SYMBOL)) {
        do {
            if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
                finishLine();
                int left, right;
                if (!it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &lineTop, &right,
                                     &lineBottom)) {
                    lineTop = lineBottom = 0;
                }
            } else if (it->IsAtBeginningOf(tesseract::RIL_WORD) && !text.empty()) {
                text += ' ';
                boxes.emplace_back();
            }
            std::unique_ptr<char[], TextDeleter> symbol(it->GetUTF8Text(tesseract::RIL_SYMBOL));
            if (!symbol || symbol[0] == '\0') {
                continue;
            }
            int left, top, right, bottom;
            std::optional<Rect> box;
            if (it->BoundingBox(tesseract::RIL_SYMBOL, &left, &top, &right, &bottom)) {
                if (lineBottom > lineTop) {
                    top = std::min(top, lineTop);
                    bottom = std::max(bottom, lineBottom);
                }
                box = Rect{left / width, 1.0 - bottom / height, (right - left) / width,
                           (bottom - top) / height};
            }
            const icu::UnicodeString units = icu::UnicodeString::fromUTF8(symbol.get());
            for (int i = 0; i < units.length(); ++i) {
                boxes.push_back(box);
            }
            text += symbol.get();
        } while (it->Next(tesseract::RIL_SYMBOL));
    }
    finishLine();
    it.reset();
    engine->Clear();
    giveBack(std::move(engine));
    return outcome;
}

} // namespace lumeris
