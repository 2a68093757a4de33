#pragma once

#include "base/RgbaImage.h"
#include "capture/ScreenInfo.h"
#include "editor/EditorButtons.h"

#include <functional>
#include <memory>
#include <string>

namespace lumeris {

// The editor window as its controller drives it. Sliders and checkboxes are bound to their
// settings by the window, so the controller reads values from the store and sets a control only
// where it changes a value itself. Every call is made on the main thread.
class EditorView {
public:
    using Slider = EditorSlider;

    using Snapshot = std::shared_ptr<const RgbaImage>;

    virtual ~EditorView() = default;

    // Moves a slider without writing its setting.
    virtual void setSliderValue(Slider slider, int value) = 0;
    // The label buttons beside the padding, inset, radius and shadow sliders.
    virtual void setLabelTitles(int padding, int inset, int radius, int shadow) = 0;
    virtual void setWatermarkField(const std::string& text) = 0;
    // The border colour well, "#RRGGBB".
    virtual void setBorderColor(const std::string& color) = 0;
    virtual void setInsetStatus(const std::string& text) = 0;
    virtual void setRedactionStatus(const std::string& text, bool visible) = 0;
    virtual void highlightBackground(BackgroundButton button) = 0;
    virtual void highlightRatio(RatioButton button) = 0;

    // The renderer's size and aspect (canvas points).
    virtual void setCanvasSize(double width, double height) = 0;
    // Clears the cached snapshot and evaluates the restyle script, not waiting for a result.
    virtual void restyle(const std::string& script) = 0;
    // The load step: cached snapshot and page-loaded flag cleared, `html` loaded with the
    // viewer's base URL.
    virtual void loadDocument(const std::string& html) = 0;
    // A snapshot: the cached one when there is one, else a fresh one, kept as the cache with
    // `saveCache`. `done` may run later, or never when the view is gone.
    virtual void requestSnapshot(bool saveCache, std::function<void(Snapshot)> done) = 0;
    // The document's text selection, empty when none.
    virtual void selectedText(std::function<void(std::string)> done) = 0;
    // Clears the cached snapshot and asks the document to cancel: `consumed` is true only when
    // an annotation tool or edit took it.
    virtual void cancelOperation(std::function<void(bool consumed)> done) = 0;
    virtual void closeWindow() = 0;

    virtual void setTitle(const std::string& title) = 0;
    virtual ScreenInfo::Frame windowFrame() const = 0;
    // Immediately, not animated.
    virtual void setWindowFrame(const ScreenInfo::Frame& frame) = 0;

    virtual double magnification() const = 0;
    virtual void setMagnification(double magnification, bool animated) = 0;
    // The size of the scroll view's visible area, in points at magnification 1.
    virtual double visibleWidth() const = 0;
    virtual double visibleHeight() const = 0;
    virtual void setZoomTitle(const std::string& title) = 0;
    // Device pixels per point of the window, which its snapshots have.
    virtual int backingScale() const { return 1; }
};

} // namespace lumeris
