#include "editor/EditorCommands.h"

#include "base/AtomicFile.h"
#include "base/Logger.h"
#include "capture/ArchiveFolders.h"
#include "editor/EditorController.h"
#include "export/ImageEncoder.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"
#include "ui/AlertRequest.h"
#include "ui/Alerts.h"
#include "ui/BezelIcon.h"
#include "ui/Clipboard.h"
#include "ui/FileChooser.h"

#include <glib.h>

namespace lumeris {

namespace fs = std::filesystem;

namespace {

BezelParameters bezel(std::string text, const char* icon) {
    return BezelParameters{.messageText = std::move(text), .icon = BezelIcon::named(icon)};
}

// The size as the desktop writes it ("12.3 kB").
std::string byteCount(std::size_t bytes) {
    char* text = g_format_size(bytes);
    std::string result(text);
    g_free(text);
    return result;
}

} // namespace

std::shared_ptr<EditorCommands> EditorCommands::create(Services services) {
    return std::make_shared<EditorCommands>(Private{}, std::move(services));
}

EditorCommands::EditorCommands(Private, Services services) : services_(std::move(services)) {}

bool EditorCommands::altAlone(const Modifiers& modifiers) {
    return modifiers == Modifiers{.alt = true};
}

bool EditorCommands::compressionApplies(bool compressionSetting, const Modifiers& modifiers) {
    return compressionSetting != altAlone(modifiers);
}

fs::path EditorCommands::compressedPath(const fs::path& path) {
    fs::path compressed = path;
    return compressed.replace_extension("jpg");
}

fs::path EditorCommands::withPngExtension(const fs::path& path) {
    return path.string().ends_with(".png") ? path : fs::path(path.string() + ".png");
}

BezelParameters EditorCommands::compressionFeedback(bool compressed,
                                                    std::optional<std::size_t> bytes) {
    const std::string size = bytes ? byteCount(*bytes) : std::string();
    if (!compressed) {
        return bezel(bytes ? "Compression Skipped\n            (" + size + ")"
                           : std::string("Compression Skipped"),
                     BezelIcon::NO_IMAGE);
    }
    return bezel(bytes ? "Compressed (" + size + ")" : std::string("Compressed"),
                 BezelIcon::COMPRESS);
}

bool EditorCommands::compress(Format format) const {
    if (format != Format::Decide) {
        return format == Format::Jpeg;
    }
    return compressionApplies(services_.settings.boolValue(SettingKeys::IMAGE_COMPRESSION, false),
                              services_.modifiers());
}

void EditorCommands::archive(const RgbaImage& image) const {
    if (services_.settings.boolValue(SettingKeys::SAVE_SCREENSHOT, true)) {
        ArchiveFolders::saveToArchives(services_.settings, image,
                                       services_.controller.session().fileName, true);
    }
}

void EditorCommands::copy() {
    services_.view.selectedText([weak = weak_from_this()](const std::string& text) {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        if (!text.empty()) {
            self->services_.clipboard.setText(text);
            self->services_.showBezel(bezel(TEXT_COPIED, BezelIcon::CHECK));
            return;
        }
        self->copyImage(self->services_.settings.boolValue(SettingKeys::CLOSE_AFTER_COPY, true));
    });
}

void EditorCommands::copyImage(bool close, std::function<void()> completion) {
    services_.view.requestSnapshot(
        true, [weak = weak_from_this(), close,
               completion = std::move(completion)](EditorView::Snapshot image) {
            auto self = weak.lock();
            if (!self || !image) {
                return;
            }
            self->archive(*image);
            self->services_.clipboard.setImage(*image);
            if (close) {
                self->services_.view.closeWindow();
                self->services_.showBezel(bezel(IMAGE_COPIED, BezelIcon::CHECK));
                if (!self->services_.settings.boolValue(SettingKeys::TEXT_DETECTED_SEEN, false) &&
                    self->services_.showTextDetectedHint) {
                    self->services_.showTextDetectedHint();
                }
            }
            if (completion) {
                completion();
            }
        });
}

void EditorCommands::save(Format format) {
    services_.view.requestSnapshot(true, [weak = weak_from_this(),
                                          format](EditorView::Snapshot image) {
        auto self = weak.lock();
        if (!self || !image) {
            return;
        }
        const fs::path folder = self->services_.settings.string(SettingKeys::SAVE_PATH, "");
        self->services_.showBezel(bezel(FILE_SAVED, BezelIcon::CHECK));
        self->saveToPath(*image, folder / self->services_.controller.session().fileName, format);
        self->services_.view.closeWindow();
    });
}

bool EditorCommands::saveToPath(const RgbaImage& image, const fs::path& path, Format format) {
    const bool compressed = compress(format);
    const fs::path target = compressed ? compressedPath(path) : path;
    const auto data = compressed ? ImageEncoder::jpegData(image, ImageEncoder::DEFAULT_JPEG_QUALITY)
                                 : ImageEncoder::pngData(image);
    if (data.empty()) {
        LOG_ERROR("no image data");
        return false;
    }
    std::string error;
    std::error_code ignored;
    fs::create_directories(target.parent_path(), ignored);
    if (!AtomicFile::writeFileAtomically(target, data, error)) {
        LOG_ERROR("Save image failed {}: {}", target.string(), error);
        return false;
    }
    LOG_INFO("Save image success {}", target.string());
    archive(image);
    if (format == Format::Decide && altAlone(services_.modifiers())) {
        services_.showBezel(compressionFeedback(compressed, data.size()));
    }
    return true;
}

void EditorCommands::saveAs(Format format) {
    services_.view.requestSnapshot(
        true, [weak = weak_from_this(), format](EditorView::Snapshot image) {
            auto self = weak.lock();
            if (!self || !image) {
                return;
            }
            FileChooserRequest request{
                "Save Image", std::nullopt, self->services_.controller.session().fileName, {}};
            self->services_.fileChooser.chooseFileToSave(
                request, [weak, image, format](std::optional<fs::path> chosen) {
                    auto self = weak.lock();
                    if (self && chosen) {
                        self->writeSaveAs(*image, *chosen, format);
                    }
                });
        });
}

void EditorCommands::writeSaveAs(const RgbaImage& image, const fs::path& chosen, Format format) {
    const fs::path path = withPngExtension(chosen);
    const fs::path written = compress(format) ? compressedPath(path) : path;
    // The dialog has confirmed replacing the name it returned, not one we changed.
    std::error_code ignored;
    if (written == chosen || !fs::exists(written, ignored)) {
        saveToPath(image, path, format);
        return;
    }
    services_.alerts.show(AlertRequest{"File already exists",
                                       "Do you want to override the existing file?",
                                       {"OK", "Cancel"}},
                          [weak = weak_from_this(), image, path, format](int button) {
                              auto self = weak.lock();
                              if (self && button == 0) {
                                  self->saveToPath(image, path, format);
                              }
                          });
}

void EditorCommands::saveOriginal() {
    const auto& session = services_.controller.session();
    if (!services_.controller.hasWorkingImage()) {
        return;
    }
    auto png = ImageEncoder::pngData(session.originalImage.image);
    if (png.empty()) {
        return;
    }
    FileChooserRequest request{"Save Original", std::nullopt, session.fileName, {}};
    services_.fileChooser.chooseFileToSave(
        request, [png = std::move(png)](std::optional<fs::path> chosen) {
            if (!chosen) {
                return;
            }
            const fs::path path = withPngExtension(*chosen);
            std::string error;
            if (AtomicFile::writeFileAtomically(path, png, error)) {
                LOG_INFO("Save image success: {}", path.string());
            } else {
                LOG_ERROR("Save image failed: {}: {}", path.string(), error);
            }
        });
}

void EditorCommands::copyOriginal() {
    if (services_.controller.hasWorkingImage()) {
        services_.clipboard.setImage(services_.controller.session().originalImage.image);
    }
}

void EditorCommands::cancel() {
    services_.view.cancelOperation([weak = weak_from_this()](bool consumed) {
        auto self = weak.lock();
        if (self && !consumed) {
            self->services_.view.closeWindow();
        }
    });
}

void EditorCommands::viewWillDisappear(std::function<void()> done) {
    if (const auto& last = services_.controller.lastOutputImage()) {
        archive(*last);
        services_.controller.markDisappeared();
        done();
        return;
    }
    if (!services_.controller.hasWorkingImage() ||
        !services_.settings.boolValue(SettingKeys::SAVE_SCREENSHOT, true)) {
        done();
        return;
    }
    services_.view.requestSnapshot(
        true, [weak = weak_from_this(), done = std::move(done)](EditorView::Snapshot image) {
            if (auto self = weak.lock(); self && image) {
                self->services_.controller.markDisappeared();
                self->archive(*image);
            }
            done();
        });
}

} // namespace lumeris
