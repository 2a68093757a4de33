#include "render/gtk/SpareRendererView.h"

namespace lumeris {

void SpareRendererView::prepare() {
    if (spare_ || baseUri_.empty()) {
        return;
    }
    spare_ = CustomWKWebView::create();
    // The same base as an editor's documents keeps their loads in this process.
    spare_->loadDocument("<html><body></body></html>", baseUri_);
}

std::shared_ptr<CustomWKWebView> SpareRendererView::take() {
    // A blank page still loading would report its "windowload" as the taker's document's; such
    // a spare stays for the next window.
    if (ready()) {
        return std::move(spare_);
    }
    return CustomWKWebView::create();
}

} // namespace lumeris
