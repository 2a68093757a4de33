#include "render/BackgroundCatalogue.h"

#include "render/BackgroundPictures.h"
#include "render/StyleSheetInputs.h"

namespace lumeris {

namespace {

// violet, nice and warm share their text and differ only in colours.
std::string threeStopGradient(std::string_view fallback, std::string_view colours) {
    std::string text;
    text.append("background: ").append(fallback).append(";  /* fallback for old browsers */\n");
    text.append("background: -webkit-linear-gradient(to right, ")
        .append(colours)
        .append(");  /* Chrome 10-25, Safari 5.1-6 */\n");
    text.append("background: linear-gradient(to right, ")
        .append(colours)
        .append("); /* W3C, IE 10+/ Edge, Firefox 16+, Chrome 26+, Opera 12+, Safari 7+ */");
    return text;
}

// morning, cute, bright, beach and strong: a colour, then the 50- and 60-degree gradients.
std::string angledGradient(std::string_view colour, std::string_view stops) {
    std::string text;
    text.append("background: ").append(colour).append(";\n");
    text.append("background: linear-gradient(50deg, ").append(stops).append(");\n");
    text.append("background: -webkit-linear-gradient(60deg, ").append(stops).append(");");
    return text;
}

std::string customDeclarations(const StyleSheetInputs& inputs) {
    const std::string& option = inputs.bgColorOption;
    if (option == "plain") {
        return "background: " + inputs.plainColor + ";";
    }
    if (option == "gradient") {
        return BackgroundCatalogue::customGradient(inputs.gradientStart, inputs.gradientStop);
    }
    if (option == "file") {
        return inputs.customBackgroundURL
                   ? BackgroundCatalogue::pictureDeclarations(*inputs.customBackgroundURL)
                   : "background: transparent;";
    }
    return {};
}

} // namespace

std::string BackgroundCatalogue::pictureDeclarations(std::string_view url) {
    std::string text;
    text.reserve(url.size() + 100);
    text.append("background-image: url(\"").append(url).append("\");\n");
    text.append("background-size: cover;\n");
    text.append("background-position: center center;");
    return text;
}

std::string BackgroundCatalogue::customGradient(std::string_view start, std::string_view stop) {
    std::string text;
    text.append("background: linear-gradient(50deg, ")
        .append(start)
        .append(" 0%, ")
        .append(stop)
        .append(" 100%);\n");
    text.append("background: -webkit-linear-gradient(60deg, ")
        .append(start)
        .append(" 0%, ")
        .append(stop)
        .append(" 100%);");
    return text;
}

std::optional<BackgroundCatalogue::Gradient> BackgroundCatalogue::gradient(std::string_view id) {
    if (id == "cool") {
        return Gradient{160, {"#0093E9", "#80D0C7"}};
    }
    if (id == "beach") {
        return Gradient{50, {"#02aab0", "#00cdac"}};
    }
    if (id == "violet") {
        return Gradient{90, {"#8E54E9", "#4776E6"}};
    }
    if (id == "nice") {
        return Gradient{90, {"#F15F79", "#B24592"}};
    }
    // The style sheet's HSL colours in hexadecimal, which the thumbnails' parser reads.
    if (id == "morning") {
        return Gradient{50, {"#F9B06C", "#F67E7E"}};
    }
    if (id == "bright") {
        return Gradient{50, {"#EE72AE", "#7478F1"}};
    }
    return std::nullopt;
}

std::string BackgroundCatalogue::declarations(const StyleSheetInputs& inputs,
                                              BackgroundPictures& pictures) {
    const std::string& id = inputs.backgroundID;
    // Without a desktop picture "desktop" matches no other row and yields nothing.
    if (id == "desktop") {
        return inputs.desktopBackgroundURL ? pictureDeclarations(*inputs.desktopBackgroundURL)
                                           : std::string();
    }
    if (id == "transparent") {
        return "background: transparent;";
    }
    if (id == "violet") {
        return threeStopGradient("#4776E6", "#8E54E9, #4776E6");
    }
    if (id == "nice") {
        return threeStopGradient("#B24592", "#F15F79, #B24592");
    }
    if (id == "warm") {
        return threeStopGradient("#FFB75E", "#ED8F03, #FFB75E");
    }
    if (id == "cool") {
        return "background-color: #0093E9;\n"
               "background-image: linear-gradient(160deg, #0093E9 0%, #80D0C7 100%);";
    }
    if (id == "morning") {
        return angledGradient("hsla(29, 92%, 70%, 1)",
                              "hsla(29, 92%, 70%, 1) 0%, hsla(0, 87%, 73%, 1) 100%");
    }
    if (id == "cute") {
        return angledGradient("hsla(31, 90%, 76%, 1)",
                              "hsla(31, 90%, 76%, 1) 0%, hsla(302, 82%, 76%, 1) 100%");
    }
    if (id == "bright") {
        return angledGradient("hsla(331, 78%, 69%, 1)",
                              "hsla(331, 78%, 69%, 1) 0%, hsla(238, 82%, 70%, 1) 100%");
    }
    if (id == "beach") {
        return angledGradient("hsla(331, 78%, 69%, 1)", "#02aab0 0%, #00cdac 100%");
    }
    if (id == "strong") {
        return angledGradient("hsla(297, 59%, 34%, 1)",
                              "hsla(297, 59%, 34%, 1) 0%, hsla(345, 74%, 58%, 1) 50%, "
                              "hsla(22, 87%, 56%, 1) 100%");
    }
    if (BackgroundPictures::isPictureID(id)) {
        return pictureDeclarations(pictures.dataURL(id));
    }
    if (id == "custom") {
        return customDeclarations(inputs);
    }
    return {};
}

} // namespace lumeris
