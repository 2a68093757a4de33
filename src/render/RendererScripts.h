#pragma once

#include <string>
#include <string_view>

namespace lumeris {

// Script texts the renderer host installs into every document or evaluates in it. The message
// formats and event names they use are the protocol between the document and the application.
class RendererScripts {
public:
    // Installed at document start in the main frame, once per process.
    static const std::string& loggingBridgeScript();
    static const std::string& pointerScript();
    static const std::string& windowLoadScript();

    // Evaluated before every fresh snapshot: no selection, no focus ring, no editing decorations.
    static const std::string& screenshotModeScript();

    // Escape: true when an annotation tool consumed the cancel.
    static const std::string& cancelOperationScript();
    // The Copy command: the selected text, if any.
    static const std::string& selectedTextScript();
    static const std::string& resetDragStateScript();

    // The annotations of the document as a JSON string, null when it has none to give.
    static const std::string& annotationsScript();
    // Hands `json` (from annotationsScript) to the document; the number of annotations taken,
    // -1 when the document rejected the text.
    static std::string restoreAnnotationsScript(std::string_view json);

    // "ACTIVATE_COMMAND({ <flag>: true })", flag one of addArrowActivated, addTextActivated,
    // redactActivated, addShapeActivated.
    static std::string activateCommandScript(std::string_view flag);
};

} // namespace lumeris
