#pragma once

#include "base/RgbaImage.h"
#include "editor/EditorView.h"
#include "ui/BezelParameters.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lumeris {

class Alerts;
class Clipboard;
class EditorController;
class FileChooser;
class SettingsStore;

// What the user does with a composed screenshot: copy it (and close), save it, save it
// elsewhere, save or copy the original, cancel, and the archive taken when the window closes.
// Display-free; the window supplies the services. Created through `create()` so that snapshot
// callbacks can hold it weakly.
class EditorCommands : public std::enable_shared_from_this<EditorCommands> {
public:
    static constexpr const char* FILE_SAVED = "File Saved";
    static constexpr const char* IMAGE_COPIED = "Image Copied";
    static constexpr const char* TEXT_COPIED = "Text Copied";

    // The modifier keys held when a command runs. Num Lock and Caps Lock do not count.
    struct Modifiers {
        bool shift = false;
        bool control = false;
        bool alt = false;
        bool super = false;
        bool hyper = false;
        bool meta = false;
        bool operator==(const Modifiers&) const = default;
    };

    // How the file is written: the stored choice inverted by Alt held alone, or decided outright
    // (the "Save as PNG" and "Save as JPEG" menu items).
    enum class Format { Decide, Png, Jpeg };

    struct Services {
        SettingsStore& settings;
        EditorController& controller;
        EditorView& view;
        Clipboard& clipboard;
        FileChooser& fileChooser;
        Alerts& alerts;
        std::function<void(BezelParameters)> showBezel;
        std::function<Modifiers()> modifiers;
        // After a copy that closed the window, while "text-detected-seen" is off.
        std::function<void()> showTextDetectedHint;
    };

    static std::shared_ptr<EditorCommands> create(Services services);

    static bool altAlone(const Modifiers& modifiers);
    // "settings.image-compression" exclusive-or Alt held alone.
    static bool compressionApplies(bool compressionSetting, const Modifiers& modifiers);
    // The extension replaced by "jpg".
    static std::filesystem::path compressedPath(const std::filesystem::path& path);
    // ".png" appended unless the name already ends so.
    static std::filesystem::path withPngExtension(const std::filesystem::path& path);
    // The bezel after a write while Alt is held alone: "Compressed (12 kB)", or, when Alt turned
    // a stored compression off, "Compression Skipped" with the size on a line of its own.
    static BezelParameters compressionFeedback(bool compressed, std::optional<std::size_t> bytes);

    // Copies the selected text when there is any (the window stays), else the picture with
    // close per "settings.close-after-copy".
    void copy();
    // The picture to the clipboard, archived when saving is on; with `close` the window closes
    // and "Image Copied" shows. `completion` runs after the copy.
    void copyImage(bool close, std::function<void()> completion = {});
    // Into "settings.save-path" under the output name; "File Saved", then the window closes.
    void save(Format format = Format::Decide);
    // Asks where; ".png" is appended, and a file the dialog did not confirm replacing is only
    // replaced after "OK".
    void saveAs(Format format = Format::Decide);
    void saveOriginal();
    void copyOriginal();
    // Escape: an annotation tool is left first; with nothing to cancel the window closes.
    void cancel();
    // The window is closing: the last debounced picture goes to the archive, or a fresh one when
    // there is none and saving is on. `done` runs once the picture is archived (the window must
    // stay on screen until then for a fresh one to be taken).
    void viewWillDisappear(std::function<void()> done);

    // Writes the picture (PNG, or JPEG 0.9 with ".jpg"), archives it when saving is on and shows
    // the compression bezel while Alt is held alone. False when nothing was written.
    bool saveToPath(const RgbaImage& image, const std::filesystem::path& path,
                    Format format = Format::Decide);

private:
    struct Private {};

public:
    EditorCommands(Private, Services services);

private:
    bool compress(Format format) const;
    void archive(const RgbaImage& image) const;
    void writeSaveAs(const RgbaImage& image, const std::filesystem::path& chosen, Format format);

    Services services_;
};

} // namespace lumeris
