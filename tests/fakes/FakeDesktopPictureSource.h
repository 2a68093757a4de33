#pragma once

#include "capture/DesktopPictureSource.h"

// Hands out whatever picture the test put in, or none.
class FakeDesktopPictureSource : public lumeris::DesktopPictureSource {
public:
    std::optional<lumeris::LoadedImage> picture;
    std::optional<lumeris::LoadedImage> desktopPicture() override { return picture; }
};
