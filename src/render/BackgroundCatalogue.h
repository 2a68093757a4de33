#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumeris {

class BackgroundPictures;
struct StyleSheetInputs;

// The CSS declarations placed in the .background rule for a background id. Lines are joined by
// single line breaks without indentation; an id that yields nothing gives the empty string.
struct BackgroundCatalogue {
    static std::string declarations(const StyleSheetInputs& inputs, BackgroundPictures& pictures);

    // A picture that covers the background, centred.
    static std::string pictureDeclarations(std::string_view url);

    // The user's two-colour gradient; the second declaration wins where it is understood.
    static std::string customGradient(std::string_view start, std::string_view stop);

    // A built-in gradient as drawn outside the renderer (the toolbar's thumbnails): the CSS
    // angle (0 is upwards, clockwise) and evenly spaced colours.
    struct Gradient {
        double angleDegrees;
        std::vector<std::string_view> colours;
    };
    static std::optional<Gradient> gradient(std::string_view id);
};

} // namespace lumeris
