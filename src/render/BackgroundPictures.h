#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace lumeris {

// The built-in picture backgrounds as JPEG data URLs. Encoding a 1920 x 1080 picture takes
// tens of milliseconds and its result never changes, so each URL is made once per process and
// kept; the style sheet is rebuilt on every slider movement.
class BackgroundPictures {
public:
    static constexpr const char* DATA_URL_PREFIX = "data:image/jpeg;base64,";
    static constexpr double JPEG_QUALITY = 0.9;

    // The Base64 text of a picture file's JPEG; empty when it cannot be read or encoded.
    using Encoder = std::function<std::string(const std::filesystem::path&)>;

    // Pictures are looked up in `folder` as NAME.jpg, then NAME.png.
    BackgroundPictures(std::filesystem::path folder, Encoder encoder);

    const std::filesystem::path& folder() const { return folder_; }

    // The process-wide instance over the resources' backgrounds folder, encoding with
    // `encodeFile`.
    static BackgroundPictures& shared();

    // The Base64 of the file's picture as a progressive JPEG at JPEG_QUALITY; empty when the
    // file cannot be decoded or encoded.
    static std::string encodeFile(const std::filesystem::path& file);

    // love, rain, sky, charm and flower.
    static bool isPictureID(std::string_view id);

    // DATA_URL_PREFIX followed by the Base64 of the picture's JPEG; the bare prefix when the
    // picture is missing or cannot be encoded (that result is kept too: resources do not
    // appear while the program runs). Safe to call from any thread.
    std::string dataURL(const std::string& name);

private:
    std::filesystem::path folder_;
    Encoder encoder_;
    std::mutex mutex_;
    std::map<std::string, std::string, std::less<>> urls_;
};

} // namespace lumeris
