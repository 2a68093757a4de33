#include "platform/TesseractRecognizer.h"

#include "analysis/GreyImage.h"
#include "analysis/LayoutLines.h"
#include "analysis/RecognisedLine.h"
#include "analysis/TextRangeGeometry.h"
#include "analysis/TokenRepair.h"
#include "base/Logger.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
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

using LayoutLine = LayoutLines::Line;

// The text lines of `pix` without reading them: Tesseract's layout analysis, a small part of the
// cost of reading.
std::vector<LayoutLine> findLines(tesseract::TessBaseAPI& engine, Pix& pix, int pageSegMode) {
    engine.SetPageSegMode(static_cast<tesseract::PageSegMode>(pageSegMode));
    engine.SetImage(&pix);
    engine.SetSourceResolution(144);
    std::vector<LayoutLine> lines;
    std::unique_ptr<tesseract::PageIterator> it(engine.AnalyseLayout());
    if (it && !it->Empty(tesseract::RIL_WORD)) {
        // The dots of "i" and "j" belong to their line.
        it->SetBoundingBoxComponents(true, true);
        do {
            LayoutLines::Box box;
            if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE) || lines.empty()) {
                if (!it->BoundingBox(tesseract::RIL_TEXTLINE, &box.left, &box.top, &box.right,
                                     &box.bottom) ||
                    box.right <= box.left || box.bottom <= box.top) {
                    continue;
                }
                lines.push_back({box, {}});
            }
            if (it->BoundingBox(tesseract::RIL_WORD, &box.left, &box.top, &box.right,
                                &box.bottom)) {
                lines.back().words.push_back(box);
            }
        } while (it->Next(tesseract::RIL_WORD));
    }
    it.reset();
    engine.Clear();
    return LayoutLines::joinRows(std::move(lines));
}

// Reads one line cut out of `pix`, scaled by `scale`; its lines (usually one) in pixels of `pix`.
// The cut reaches a line's height further on either side, since the layout can leave a last
// narrow glyph out of its line, and sits on a white margin above and below, so that no
// neighbouring line's ink reaches into it.
std::optional<std::vector<Line>> readLine(tesseract::TessBaseAPI& engine, Pix& pix,
                                          const LayoutLine& at, double scale, std::string* error) {
    const int width = static_cast<int>(pixGetWidth(&pix));
    const int height = static_cast<int>(pixGetHeight(&pix));
    const LayoutLines::Box& span = at.box;
    const int reach = span.bottom - span.top;
    const int cutLeft = std::max(0, span.left - reach);
    const int cutRight = std::min(width, span.right + reach);
    Box* box = boxCreate(cutLeft, span.top, cutRight - cutLeft, span.bottom - span.top);
    PixHandle cut(box != nullptr ? pixClipRectangle(&pix, box, nullptr) : nullptr);
    boxDestroy(&box);
    const int margin = std::max(4, (span.bottom - span.top) / 2);
    PixHandle framed(cut ? pixAddBorder(cut.get(), margin, 255) : nullptr);
    if (framed && scale > 1) {
        framed.reset(
            pixScaleGrayLI(framed.get(), static_cast<float>(scale), static_cast<float>(scale)));
    } else if (framed && scale < 1) {
        framed.reset(
            pixScaleAreaMap(framed.get(), static_cast<float>(scale), static_cast<float>(scale)));
    }
    if (!framed) {
        *error = "out of memory";
        return std::nullopt;
    }
    // A line the engine finds nothing in as a line of words (a redaction box joined to its
    // words throws the line's measures off) is read once more as a plain strip of text.
    std::vector<Line> lines;
    for (const auto mode : {tesseract::PSM_SINGLE_LINE, tesseract::PSM_RAW_LINE}) {
        engine.SetPageSegMode(mode);
        engine.SetImage(framed.get());
        engine.SetSourceResolution(144);
        if (engine.Recognize(nullptr) != 0) {
            engine.Clear();
            *error = "recognition failed";
            return std::nullopt;
        }
        lines = readLines(engine, *framed);
        engine.Clear();
        if (!lines.empty()) {
            break;
        }
    }

    // Back to the whole image, rounding outwards so that a box never shrinks, and within it.
    const int originX = cutLeft - margin;
    const int originY = span.top - margin;
    const auto back = [scale](int v, int origin, int limit, bool upper) {
        const double scaled = v / scale;
        return std::clamp(origin + static_cast<int>(upper ? std::ceil(scaled) : std::floor(scaled)),
                          0, limit);
    };
    const auto x = [&](int v, bool upper) {
        return back(v, originX, width, upper);
    };
    const auto y = [&](int v, bool upper) {
        return back(v, originY, height, upper);
    };
    for (Line& line : lines) {
        line.top = y(line.top, false);
        line.bottom = y(line.bottom, true);
        for (Line::Word& word : line.words) {
            if (word.inkLeft >= 0) {
                word.inkLeft = x(word.inkLeft, false);
                word.inkRight = x(word.inkRight, true);
            }
            for (Line::Symbol& symbol : word.symbols) {
                symbol.left = x(symbol.left, false);
                symbol.right = x(symbol.right, true);
                symbol.top = y(symbol.top, false);
                symbol.bottom = y(symbol.bottom, true);
            }
        }
    }
    return lines;
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
    const int engines = threadCount();
    {
        std::lock_guard lock(mutex_);
        if (warmUp_.valid() || !idle_.empty()) {
            return;
        }
        warming_ = engines;
    }
    warmUp_ = std::async(std::launch::async, [this, engines] {
        std::vector<std::future<Engine>> loading;
        loading.reserve(static_cast<std::size_t>(engines));
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

int TesseractRecognizer::threadCount() const {
    if (options_.threads > 0) {
        return options_.threads;
    }
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1U, 4U));
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
    // Tesseract parallelises inside each line with OpenMP, whose spinning threads cost more than
    // they give on a few cores; whole lines in parallel scale better. The setting belongs to the
    // calling thread.
    omp_set_max_active_levels(0);
    std::string error;
    Engine first = takeEngine(&error);
    if (!first) {
        LOG_ERROR("text recognition failed: {}", error);
        return TextRecognitionOutcome::failure(error);
    }
    const std::vector<LayoutLine> found = findLines(*first, *pix, options_.pageSegMode);

    // Lines go to whichever engine is free next, the first on this thread, the others beside it.
    std::vector<std::optional<std::vector<Line>>> read(found.size());
    std::vector<std::string> errors(
        std::max<std::size_t>(1, std::min<std::size_t>(threadCount(), found.size())));
    std::atomic<std::size_t> next{0};
    auto work = [this, &pix, &found, &read, &errors, &next](std::size_t worker, Engine engine) {
        omp_set_max_active_levels(0);
        if (!engine) {
            engine = takeEngine(&errors[worker]);
        }
        if (!engine) {
            return;
        }
        for (std::size_t i = next++; i < found.size(); i = next++) {
            read[i] = readLine(*engine, *pix, found[i],
                               LayoutLines::readingScale(found[i].textHeight(),
                                                         options_.enlargeBelowHeight,
                                                         options_.enlargement),
                               &errors[worker]);
            if (!read[i]) {
                break;
            }
        }
        giveBack(std::move(engine));
    };
    std::vector<std::future<void>> others;
    for (std::size_t worker = 1; worker < errors.size(); ++worker) {
        others.push_back(std::async(std::launch::async, work, worker, Engine()));
    }
    work(0, std::move(first));
    for (auto& other : others) {
        other.get();
    }

    TextRecognitionOutcome outcome;
    for (auto& lines : read) {
        if (!lines) {
            // A line no engine could read: the first reason there is.
            const auto reason = std::find_if(errors.begin(), errors.end(),
                                             [](const std::string& e) { return !e.empty(); });
            const std::string message = reason != errors.end() ? *reason : "recognition failed";
            LOG_ERROR("text recognition failed: {}", message);
            return TextRecognitionOutcome::failure(message);
        }
        // Boxes become fractions of the image.
        for (const auto& line : *lines) {
            TextCandidate candidate = TextRangeGeometry::candidate(line, image.width, image.height);
            if (!candidate.string().empty()) {
                outcome.observations.push_back({std::move(candidate)});
            }
        }
    }
    return outcome;
}

} // namespace lumeris
