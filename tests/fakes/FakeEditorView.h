#pragma once

#include "editor/EditorView.h"

#include <map>
#include <optional>
#include <vector>

// Records what the controller shows; the window geometry and zoom are set by the test.
class FakeEditorView : public lumeris::EditorView {
public:
    std::map<Slider, int> sliders;
    std::vector<int> labelTitles;
    std::optional<std::string> insetStatus;
    std::optional<std::string> redactionStatus;
    bool redactionStatusVisible = false;
    std::optional<lumeris::BackgroundButton> background;
    std::optional<lumeris::RatioButton> ratio;
    double canvasWidth = 0;
    double canvasHeight = 0;
    std::vector<std::string> restyles;
    std::vector<std::string> loads;
    std::vector<std::function<void(Snapshot)>> snapshotRequests;
    std::string selection;
    bool cancelConsumed = false;
    bool closed = false;
    std::string title;
    lumeris::ScreenInfo::Frame frame{0, 0, 1500, 1000};
    double zoom = 1.0;
    bool zoomAnimated = false;
    double visibleW = 800;
    double visibleH = 600;
    std::string zoomTitle;

    void setSliderValue(Slider slider, int value) override { sliders[slider] = value; }
    void setLabelTitles(int padding, int inset, int radius, int shadow) override {
        labelTitles = {padding, inset, radius, shadow};
    }
    void setWatermarkField(const std::string&) override {}
    void setBorderColor(const std::string&) override {}
    void setInsetStatus(const std::string& text) override { insetStatus = text; }
    void setRedactionStatus(const std::string& text, bool visible) override {
        redactionStatus = text;
        redactionStatusVisible = visible;
    }
    void highlightBackground(lumeris::BackgroundButton button) override { background = button; }
    void highlightRatio(lumeris::RatioButton button) override { ratio = button; }
    void setCanvasSize(double width, double height) override {
        canvasWidth = width;
        canvasHeight = height;
    }
    void restyle(const std::string& script) override { restyles.push_back(script); }
    void loadDocument(const std::string& html) override { loads.push_back(html); }
    void requestSnapshot(bool, std::function<void(Snapshot)> done) override {
        snapshotRequests.push_back(std::move(done));
    }
    void selectedText(std::function<void(std::string)> done) override { done(selection); }
    void cancelOperation(std::function<void(bool)> done) override { done(cancelConsumed); }
    void closeWindow() override { closed = true; }
    void setTitle(const std::string& text) override { title = text; }
    lumeris::ScreenInfo::Frame windowFrame() const override { return frame; }
    void setWindowFrame(const lumeris::ScreenInfo::Frame& newFrame) override { frame = newFrame; }
    double magnification() const override { return zoom; }
    void setMagnification(double magnification, bool animated) override {
        zoom = magnification;
        zoomAnimated = animated;
    }
    double visibleWidth() const override { return visibleW; }
    double visibleHeight() const override { return visibleH; }
    void setZoomTitle(const std::string& text) override { zoomTitle = text; }
};
