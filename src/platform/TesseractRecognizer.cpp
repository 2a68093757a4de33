#include "platform/TesseractRecognizer.h"

#include "analysis/GreyImage.h"
#include "analysis/RecognisedLine.h"
#include "analysis/TextRangeGeometry.h"
#include "analysis/TokenRepair.h"
#include "base/Logger.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <future>
#include <leptonica/allheaders.h>
#include <omp.h>
#include <optional>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>
#include <thread>

namespace lumeris {

namespace {

struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using PixHandle = std::unique_ptr<Pix, PixDeleter>;

struct TextDeleter {
    void operator()(char* text) const { delete[] text; }
};

// Grey levels over white (transparent areas read as background), with dark grounds inverted so
// the engine always sees dark text on a light ground, which its models were trained on. Decided
// row by row from the row's median, so that a dark header above a light page (or a light
// selection in a dark list) is turned the right way too.
PixHandle greyscale(const RgbaImage& image) {
    PixHandle pix(pixCreate(image.width, image.height, 8));
    if (!pix) {
        return nullptr;
    }
    l_uint32* data = pixGetData(pix.get());
    const int wordsPerLine = pixGetWpl(pix.get());
    std::vector<int> dark(image.height + 1, 0); // rows with a dark median above each row
    for (int y = 0; y < image.height; ++y) {
        l_uint32* line = data + static_cast<std::ptrdiff_t>(y) * wordsPerLine;
        std::array<int, 256> histogram{};
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.at(x, y);
            const int luma = (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
            const int grey = (luma * p[3] + 255 * (255 - p[3])) / 255;
            SET_DATA_BYTE(line, x, grey);
            ++histogram[grey];
        }
        int below = 0;
        int median = 0;
        while (median < 255 && (below += histogram[median]) * 2 < image.width) {
            ++median;
        }
        dark[y + 1] = dark[y] + (median < 128 ? 1 : 0);
    }
    // A majority of the nearby rows decides, so that a row through bold glyphs filling most of
    // a narrow picture is not turned against the rest of its line.
    constexpr int NEAR = 4;
    for (int y = 0; y < image.height; ++y) {
        const int from = std::max(0, y - NEAR);
        const int to = std::min(image.height, y + NEAR + 1);
        if ((dark[to] - dark[from]) * 2 <= to - from) {
            continue;
        }
        l_uint32* line = data + static_cast<std::ptrdiff_t>(y) * wordsPerLine;
        for (int x = 0; x < image.width; ++x) {
            SET_DATA_BYTE(line, x, 255 - GET_DATA_BYTE(line, x));
        }
    }
    return pix;
}

using Line = RecognisedLine;

// The band as plain grey levels, for the token repair.
GreyImage greyImageOf(const Pix& pix) {
    GreyImage grey;
    grey.width = static_cast<int>(pixGetWidth(&pix));
    grey.height = static_cast<int>(pixGetHeight(&pix));
    grey.pixels.resize(static_cast<std::size_t>(grey.width) * grey.height);
    const l_uint32* data = pixGetData(const_cast<Pix*>(&pix));
    const int wordsPerLine = pixGetWpl(const_cast<Pix*>(&pix));
    for (int y = 0; y < grey.height; ++y) {
        const l_uint32* line = data + static_cast<std::ptrdiff_t>(y) * wordsPerLine;
        std::uint8_t* row = grey.pixels.data() + static_cast<std::ptrdiff_t>(y) * grey.width;
        for (int x = 0; x < grey.width; ++x) {
            row[x] = static_cast<std::uint8_t>(GET_DATA_BYTE(line, x));
        }
    }
    return grey;
}

std::vector<Line> readLines(tesseract::TessBaseAPI& engine, const Pix& pix) {
    std::vector<Line> lines;
    std::unique_ptr<tesseract::ResultIterator> it(engine.GetIterator());
    if (!it || it->Empty(tesseract::RIL_SYMBOL)) {
        return lines;
    }
    do {
        if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE) || lines.empty()) {
            Line line;
            int left, right;
            if (!it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &line.top, &right, &line.bottom)) {
                line.top = line.bottom = 0;
            }
            lines.push_back(line);
        }
        Line& line = lines.back();
        if (it->IsAtBeginningOf(tesseract::RIL_WORD) || line.words.empty()) {
            Line::Word word;
            int top, bottom;
            if (!it->BoundingBox(tesseract::RIL_WORD, &word.inkLeft, &top, &word.inkRight,
                                 &bottom)) {
                word.inkLeft = word.inkRight = -1;
            }
            line.words.push_back(std::move(word));
        }
        std::unique_ptr<char[], TextDeleter> text(it->GetUTF8Text(tesseract::RIL_SYMBOL));
        Line::Symbol symbol{};
        if (!text || text[0] == '\0' ||
            !it->BoundingBox(tesseract::RIL_SYMBOL, &symbol.left, &symbol.top, &symbol.right,
                             &symbol.bottom)) {
            continue;
        }
        symbol.text = text.get();
        if (line.bottom <= line.top) {
            line.top = symbol.top;
            line.bottom = symbol.bottom;
        }
        line.words.back().symbols.push_back(std::move(symbol));
    } while (it->Next(tesseract::RIL_SYMBOL));

    const GreyImage ink = greyImageOf(pix);
    for (auto& line : lines) {
        std::erase_if(line.words, [](const Line::Word& word) { return word.symbols.empty(); });
        TokenRepair::joinSplitTokens(ink, line);
        TokenRepair::stretchWordsToInk(ink, line);
    }
    return lines;
}

// Recognises the rows [top, bottom) of `pix` plus `overlap` rows on either side; the lines whose
// centre lies in [top, bottom), in the coordinates of the whole image.
std::optional<std::vector<Line>> readBand(tesseract::TessBaseAPI& engine, Pix& pix, int top,
                                          int bottom, int overlap, std::string* error) {
    const int clipTop = std::max(0, top - overlap);
    const int clipBottom = std::min(static_cast<int>(pixGetHeight(&pix)), bottom + overlap);
    Box* box = boxCreate(0, clipTop, static_cast<int>(pixGetWidth(&pix)), clipBottom - clipTop);
    PixHandle band(box != nullptr ? pixClipRectangle(&pix, box, nullptr) : nullptr);
    boxDestroy(&box);
    if (!band) {
        *error = "out of memory";
        return std::nullopt;
    }
    engine.SetImage(band.get());
    engine.SetSourceResolution(144);
    if (engine.Recognize(nullptr) != 0) {
        engine.Clear();
        *error = "recognition failed";
        return std::nullopt;
    }
    std::vector<Line> lines = readLines(engine, *band);
    engine.Clear();

    // Back to the whole image; a line belongs to the band holding its centre.
    std::vector<Line> kept;
    for (Line& line : lines) {
        line.top += clipTop;
        line.bottom += clipTop;
        for (Line::Word& word : line.words) {
            for (Line::Symbol& symbol : word.symbols) {
                symbol.top += clipTop;
                symbol.bottom += clipTop;
            }
        }
        const int centre = (line.top + line.bottom) / 2;
        if (centre >= top && centre < bottom) {
            kept.push_back(std::move(line));
        }
    }
    return kept;
}

} // namespace

void TesseractRecognizer::EngineDeleter::operator()(tesseract::TessBaseAPI* engine) const {
    if (engine) {
        engine->End();
        delete engine;
    }
}

TesseractRecognizer::TesseractRecognizer() : TesseractRecognizer(Options{}) {}

TesseractRecognizer::~TesseractRecognizer() {
    if (warmUp_.valid()) {
        warmUp_.wait();
    }
}

void TesseractRecognizer::warmUp() {
    const int engines = bandCount(1 << 20);
    {
        std::lock_guard lock(mutex_);
        if (warmUp_.valid() || !idle_.empty()) {
            return;
        }
        warming_ = engines;
    }
    warmUp_ = std::async(std::launch::async, [this, engines] {
        std::vector<std::future<Engine>> loading;
        for (int i = 0; i < engines; ++i) {
            loading.push_back(std::async(std::launch::async, [this] {
                std::string ignored;
                return newEngine(&ignored);
            }));
        }
        for (auto& engine : loading) {
            Engine loaded = engine.get();
            std::lock_guard lock(mutex_);
            --warming_;
            if (loaded) {
                idle_.push_back(std::move(loaded));
            }
            engineReturned_.notify_all();
        }
    });
}

TesseractRecognizer::Engine TesseractRecognizer::takeEngine(std::string* error) {
    {
        std::unique_lock lock(mutex_);
        // An engine on its way is sooner than a new one.
        engineReturned_.wait(lock, [this] { return !idle_.empty() || warming_ == 0; });
        if (!idle_.empty()) {
            Engine engine = std::move(idle_.back());
            idle_.pop_back();
            return engine;
        }
    }
    return newEngine(error);
}

TesseractRecognizer::Engine TesseractRecognizer::newEngine(std::string* error) const {
    Engine engine(new tesseract::TessBaseAPI());
    const char* dataPath = options_.dataPath.empty() ? nullptr : options_.dataPath.c_str();
    if (engine->Init(dataPath, options_.language.c_str(), tesseract::OEM_LSTM_ONLY) != 0) {
        *error = "cannot load the text recognition data for \"" + options_.language + "\"";
        return nullptr;
    }
    engine->SetPageSegMode(static_cast<tesseract::PageSegMode>(options_.pageSegMode));
    engine->SetVariable("debug_file", "/dev/null");
    return engine;
}

void TesseractRecognizer::giveBack(Engine engine) {
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(engine));
    engineReturned_.notify_all();
}

TesseractRecognizer::TesseractRecognizer(Options options) : options_(std::move(options)) {}

int TesseractRecognizer::bandCount(int height) const {
    int wanted = options_.bands;
    if (wanted <= 0) {
        wanted = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1U, 4U));
    }
    // A band much lower than its overlap would mostly repeat its neighbours' work.
    const int sensible = std::max(1, height / (4 * std::max(1, options_.bandOverlap)));
    return std::min(wanted, sensible);
}

TextRecognitionOutcome TesseractRecognizer::recognize(const RgbaImage& image) {
    if (image.empty() ||
        image.pixels.size() < static_cast<std::size_t>(image.width) * image.height * 4) {
        return TextRecognitionOutcome::failure("the image is empty");
    }
    PixHandle pix = greyscale(image);
    if (!pix) {
        return TextRecognitionOutcome::failure("out of memory");
    }
    const long long area = static_cast<long long>(image.width) * image.height;
    const int factor =
        area <= options_.upscaleBelowPixels ? std::max(1, options_.upscaleFactor) : 1;
    if (factor > 1) {
        PixHandle larger(pixScaleGrayLI(pix.get(), factor, factor));
        if (larger) {
            pix = std::move(larger);
        }
    }

    // Bands top to bottom: the first on this thread, the others beside it.
    const int rows = static_cast<int>(pixGetHeight(pix.get()));
    const int count = bandCount(rows);
    std::vector<std::string> errors(count);
    auto runBand = [this, &pix, &errors, count, rows](int i) -> std::optional<std::vector<Line>> {
        // Tesseract parallelises inside each line with OpenMP, whose spinning threads cost more
        // than they give on a few cores; whole bands in parallel scale better. The setting
        // belongs to the calling thread.
        omp_set_max_active_levels(0);
        Engine engine = takeEngine(&errors[i]);
        if (!engine) {
            return std::nullopt;
        }
        auto lines = readBand(*engine, *pix, rows * i / count, rows * (i + 1) / count,
                              std::max(0, options_.bandOverlap), &errors[i]);
        giveBack(std::move(engine));
        return lines;
    };
    std::vector<std::future<std::optional<std::vector<Line>>>> others;
    for (int i = 1; i < count; ++i) {
        others.push_back(std::async(std::launch::async, runBand, i));
    }
    auto first = runBand(0);
    std::vector<Line> lines;
    bool failed = !first;
    if (first) {
        lines = std::move(*first);
    }
    for (auto& other : others) {
        auto band = other.get();
        failed = failed || !band;
        if (band) {
            std::move(band->begin(), band->end(), std::back_inserter(lines));
        }
    }
    if (failed) {
        const auto reason = std::find_if(errors.begin(), errors.end(),
                                         [](const std::string& error) { return !error.empty(); });
        const std::string message = reason != errors.end() ? *reason : "recognition failed";
        LOG_ERROR("text recognition failed: {}", message);
        return TextRecognitionOutcome::failure(message);
    }

    // Boxes become fractions of the original image.
    const double width = static_cast<double>(image.width) * factor;
    const double height = static_cast<double>(image.height) * factor;
    TextRecognitionOutcome outcome;
    for (const auto& line : lines) {
        TextCandidate candidate = TextRangeGeometry::candidate(line, width, height);
        if (!candidate.string().empty()) {
            outcome.observations.push_back({std::move(candidate)});
        }
    }
    return outcome;
}

} // namespace lumeris
