#include "app/ShellAlerts.h"

namespace lumeris {

AlertRequest ShellAlerts::factoryReset() {
    return {
        "Factory Reset", "All settings will be reset to default. Are you sure?", {"OK", "Cancel"}};
}

AlertRequest ShellAlerts::imageCompression() {
    return {"Image Compression",
            "Image quality will be reduced and color will looks slightly off, but you will get a "
            "smaller file size.\n\n"
            "Compression applies only to Save, Save As and dragging the picture into a folder; "
            "copies to the clipboard stay lossless.\n\n"
            "Hold Alt while saving to skip compression.",
            {"OK"}};
}

AlertRequest ShellAlerts::acknowledgements() {
    return {"Acknowledgements",
            "The gradient backgrounds (Violet, Warm, Cool, Morning, Cute, Bright, Beach and "
            "Strong) are CSS gradients in the tradition of the freely shared gradient collections "
            "of the web design community.\n\n"
            "Lumeris is built on GTK, WebKitGTK, Tesseract, ICU, spdlog, nlohmann/json, libpng, "
            "libjpeg-turbo, libcanberra, keybinder and Ayatana AppIndicator. Thank you to their "
            "authors.",
            {"OK"}};
}

} // namespace lumeris
