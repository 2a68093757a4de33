#pragma once

#include "render/gtk/CustomWKWebView.h"

#include <memory>
#include <string>

namespace lumeris {

// One renderer view kept ready with its web process started on a blank page of the editor's
// base, so that the next editor window shows its picture without waiting for a process to
// start and a first page to set up (about a quarter of a window's first paint). Costs an idle
// web process while it is kept, so it is made when an editor is likely soon (a capture starts,
// an editor has just opened) and let go when none is open. Main thread only.
class SpareRendererView {
public:
    explicit SpareRendererView(std::string baseUri) : baseUri_(std::move(baseUri)) {}

    // Starts a spare unless one is kept.
    void prepare();
    // The spare once its blank page has loaded (none is kept then), else a new view.
    std::shared_ptr<CustomWKWebView> take();
    // Lets the spare go; its web process ends.
    void release() { spare_.reset(); }

    // A spare is kept and its blank page has loaded.
    bool ready() const { return spare_ && spare_->pageLoaded(); }

private:
    std::string baseUri_;
    std::shared_ptr<CustomWKWebView> spare_;
};

} // namespace lumeris
