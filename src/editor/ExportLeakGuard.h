#pragma once

#include "editor/EditorView.h"
#include "editor/RedactionLeakCheck.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

class TextRecognizer;

// Every picture that leaves an editor with auto-redaction on is read once more first, so that a
// box the renderer misplaced, or text the first reading missed, is covered in the pixels. The
// reading runs on a worker thread; a picture equal to the last one checked is not read again, so
// an export right after the debounced output snapshot costs nothing.
class ExportLeakGuard : public std::enable_shared_from_this<ExportLeakGuard> {
public:
    using Snapshot = EditorView::Snapshot;

    struct Request {
        std::vector<std::string> patterns;
        std::string colour;
        // Grows each cover, in pixels of the picture.
        double margin = 0;
        // What the first reading saw: only what differs from it is read again.
        std::shared_ptr<const RedactionLeakCheck::Reading> first;
        bool operator==(const Request& other) const {
            return patterns == other.patterns && colour == other.colour && margin == other.margin &&
                   (first == other.first || (first && other.first && *first == *other.first));
        }
    };

    explicit ExportLeakGuard(std::shared_ptr<TextRecognizer> recognizer);

    // `done` gets the covered picture on the calling thread's main context, or `raw` at once when
    // there is nothing to check; never once the guard is gone. A failed reading hands on `raw`
    // with a logged error: the first reading failed the same way and the editor said so.
    void pass(Snapshot raw, std::optional<Request> request, std::function<void(Snapshot)> done);

private:
    void remember(Snapshot raw, Request request, Snapshot checked);

    std::shared_ptr<TextRecognizer> recognizer_;
    Snapshot lastRaw_;
    Request lastRequest_;
    Snapshot lastChecked_;
};

} // namespace lumeris
