#include "platform/TesseractRecognizer.h"

#include "base/Logger.h"

#include <algorithm>
#include <cstdint>
#include <future>
#include <leptonica/allheaders.h>
#include <omp.h>
#include <optional>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>
#include <thread>
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

struct Symbol {
    std::string text;
    int left, top, right, bottom;
};

struct Word {
    std::vector<Symbol> symbols;
    // Written without a space before it: the engine split one token.
    bool joinsPrevious = false;
    // The word's box as the engine measured it from its ink.
    int inkLeft = -1;
    int inkRight = -1;
    int left() const { return symbols.front().left; }
    int right() const { return symbols.back().right; }
};

struct Line {
    int top = 0;
    int bottom = 0;
    std::vector<Word> words;
};

// Whether the gap between two words of a line holds a rule along the bottom of the line: an
// underscore, which the engine tends to drop, splitting identifiers and addresses in two. The
// engine's glyph boxes are approximate, so the search reaches a little into both words; a rule is
// a run of columns whose only ink is a thin stroke low in the line, often below the line's box,
// which ends with the descenders. Letters never qualify: their columns reach the middle of the
// line. A rule standing for a space runs through the middle of the gap (`through`); the foot of a
// "1" beside a gap stays on its own side.
bool gapHoldsUnderscore(const Pix& pix, const Line& line, int left, int right,
                        std::optional<int> through = std::nullopt) {
    const int lineHeight = line.bottom - line.top;
    const int from = std::max(0, left - lineHeight / 4);
    const int to = std::min(static_cast<int>(pixGetWidth(&pix)), right + lineHeight / 4);
    const int bandTop = line.top + lineHeight * 6 / 10;
    const int bottom =
        std::min(static_cast<int>(pixGetHeight(&pix)) - 1, line.bottom + lineHeight / 4);
    const int thickest = std::max(2, lineHeight / 8);
    const int shortest = std::max(3, lineHeight / 5);
    const l_uint32* data = pixGetData(const_cast<Pix*>(&pix));
    const int wordsPerLine = pixGetWpl(const_cast<Pix*>(&pix));
    int run = 0;
    for (int x = from; x < to; ++x) {
        int inkRows = 0;
        int highest = bottom + 1;
        for (int y = std::max(0, line.top); y <= bottom; ++y) {
            if (GET_DATA_BYTE(data + static_cast<std::ptrdiff_t>(y) * wordsPerLine, x) < 128) {
                ++inkRows;
                highest = std::min(highest, y);
            }
        }
        run = inkRows > 0 && inkRows <= thickest && highest >= bandTop ? run + 1 : 0;
        if (run >= shortest && (!through || (x - run < *through && *through <= x))) {
            return true;
        }
    }
    return false;
}

// Undoes two ways the engine breaks one token into words on screens: a dropped underscore, and a
// space read into a narrow gap (monospaced text after "." or between look-alike glyphs). A gap
// well under the line's usual word gap, or a sliver of the line's height, is no word break.
void joinSplitTokens(const Pix& pix, Line& line) {
    if (line.words.empty()) {
        return;
    }
    std::vector<int> gaps;
    for (std::size_t i = 1; i < line.words.size(); ++i) {
        gaps.push_back(line.words[i].left() - line.words[i - 1].right());
    }
    std::vector<int> sorted = gaps;
    std::sort(sorted.begin(), sorted.end());
    const int usualGap = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    const int lineHeight = line.bottom - line.top;
    // An underscore the engine dropped inside a word still needs covering by the word's boxes.
    for (auto& word : line.words) {
        if (gapHoldsUnderscore(pix, line, word.left() + lineHeight / 4,
                               word.right() - lineHeight / 4)) {
            for (auto& symbol : word.symbols) {
                symbol.bottom = std::max(symbol.bottom, line.bottom + lineHeight / 4);
            }
        }
    }
    for (std::size_t i = 1; i < line.words.size(); ++i) {
        Word& word = line.words[i];
        const Word& previous = line.words[i - 1];
        const int gap = gaps[i - 1];
        const bool underscoreRead =
            previous.symbols.back().text == "_" || word.symbols.front().text == "_";
        // A dropped underscore leaves a gap as wide as one; a sliver of a gap is a split word,
        // whatever the foot of an "E" or "L" beside it looks like.
        const bool wideEnough = gap >= std::max(3, lineHeight / 5);
        if (!underscoreRead && wideEnough &&
            gapHoldsUnderscore(pix, line, previous.right(), word.left(),
                               (previous.right() + word.left()) / 2)) {
            // The rule lies below the line's box; the box reaches down to cover it.
            word.symbols.insert(
                word.symbols.begin(),
                Symbol{"_", previous.right(), line.top, word.left(), line.bottom + lineHeight / 4});
            word.joinsPrevious = true;
        } else if (underscoreRead) {
            word.joinsPrevious = true;
        } else if (gap * 100 < lineHeight * 12 || (sorted.size() >= 2 && gap * 10 < usualGap * 7)) {
            word.joinsPrevious = true;
        }
    }
}

// From column `x`, how far the ink of the same word goes in `direction` (-1 left, +1 right):
// gaps between letters are crossed, a gap as wide as a word space ends the search.
int reachOfInk(const Pix& pix, const Line& line, int x, int direction) {
    const int lineHeight = line.bottom - line.top;
    const int widestLetterGap = std::max(2, lineHeight * 15 / 100);
    const int width = static_cast<int>(pixGetWidth(&pix));
    const int top = std::max(0, line.top);
    const int bottom = std::min(static_cast<int>(pixGetHeight(&pix)) - 1, line.bottom);
    const l_uint32* data = pixGetData(const_cast<Pix*>(&pix));
    const int wordsPerLine = pixGetWpl(const_cast<Pix*>(&pix));
    int reached = x;
    int blank = 0;
    for (int column = x + direction;
         column >= 0 && column < width && std::abs(column - x) <= 2 * lineHeight &&
         blank <= widestLetterGap;
         column += direction) {
        bool inked = false;
        for (int y = top; y <= bottom && !inked; ++y) {
            inked =
                GET_DATA_BYTE(data + static_cast<std::ptrdiff_t>(y) * wordsPerLine, column) < 128;
        }
        if (inked) {
            reached = column + (direction > 0 ? 1 : 0);
            blank = 0;
        } else {
            ++blank;
        }
    }
    return reached;
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
            Word word;
            int top, bottom;
            if (!it->BoundingBox(tesseract::RIL_WORD, &word.inkLeft, &top, &word.inkRight,
                                 &bottom)) {
                word.inkLeft = word.inkRight = -1;
            }
            line.words.push_back(std::move(word));
        }
        std::unique_ptr<char[], TextDeleter> text(it->GetUTF8Text(tesseract::RIL_SYMBOL));
        Symbol symbol{};
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

    for (auto& line : lines) {
        std::erase_if(line.words, [](const Word& word) { return word.symbols.empty(); });
        joinSplitTokens(pix, line);
        // The engine places glyph boxes by estimate, and they can fall short of a word's first or
        // last letter. Stretch the outer glyphs over the ink that continues the word, so a boxed
        // range never leaves the edge of a word uncovered.
        for (auto& word : line.words) {
            if (word.inkRight > word.inkLeft) {
                word.symbols.front().left = std::min(word.symbols.front().left, word.inkLeft);
                word.symbols.back().right = std::max(word.symbols.back().right, word.inkRight);
            }
            word.symbols.front().left = reachOfInk(pix, line, word.symbols.front().left, -1);
            word.symbols.back().right = reachOfInk(pix, line, word.symbols.back().right, +1);
        }
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
        for (Word& word : line.words) {
            for (Symbol& symbol : word.symbols) {
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
    engine->SetPageSegMode(static_cast<tesseract::PageSegMode>(options_.pageSegMode));
    engine->SetVariable("debug_file", "/dev/null");
    return engine;
}

void TesseractRecognizer::giveBack(Engine engine) {
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(engine));
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

    // Boxes become fractions of the original image, lower-left origin. A character's box spans the
    // height of its line, so a range of characters is boxed like a run of text, not like ink.
    const double width = static_cast<double>(image.width) * factor;
    const double height = static_cast<double>(image.height) * factor;
    TextRecognitionOutcome outcome;
    for (const auto& line : lines) {
        std::string text;
        std::vector<std::optional<Rect>> boxes;
        for (std::size_t w = 0; w < line.words.size(); ++w) {
            if (w > 0 && !line.words[w].joinsPrevious) {
                text += ' ';
                boxes.emplace_back();
            }
            for (const auto& symbol : line.words[w].symbols) {
                const int top = std::min(symbol.top, line.top);
                const int bottom = std::max(symbol.bottom, line.bottom);
                const Rect box{symbol.left / width, 1.0 - bottom / height,
                               (symbol.right - symbol.left) / width, (bottom - top) / height};
                const icu::UnicodeString units = icu::UnicodeString::fromUTF8(symbol.text);
                for (int i = 0; i < units.length(); ++i) {
                    boxes.push_back(box);
                }
                text += symbol.text;
            }
        }
        if (!text.empty()) {
            outcome.observations.push_back({TextCandidate(std::move(text), std::move(boxes))});
        }
    }
    return outcome;
}

} // namespace lumeris
