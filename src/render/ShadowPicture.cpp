#include "render/ShadowPicture.h"

#include "base/AtomicFile.h"
#include "base/GLibHandles.h"
#include "base/Logger.h"
#include "export/ImageEncoder.h"

#include <algorithm>
#include <cmath>
#include <glib.h>
#include <numbers>
#include <vector>

namespace lumeris {

namespace {

// One box pass: the mean of `left` values before, the value itself and `right` after it (zero
// outside), along a row of `count` values.
void boxPass(const float* in, float* out, int count, int left, int right) {
    const float scale = 1.0F / static_cast<float>(left + right + 1);
    float sum = 0;
    for (int j = 0; j < std::min(right, count); ++j) {
        sum += in[j];
    }
    for (int i = 0; i < count; ++i) {
        if (i + right < count) {
            sum += in[i + right];
        }
        out[i] = sum * scale;
        if (i - left >= 0) {
            sum -= in[i - left];
        }
    }
}

// WebKit's three box passes for a blur radius in device pixels: diameter d from the Gaussian of
// standard deviation radius / 2; an odd d gives three centred boxes, an even one two boxes of d
// off centre either way and a centred one of d + 1. {left, right} per pass.
std::array<std::array<int, 2>, 3> lobes(double blur) {
    const double deviation = blur / 2.0;
    const double kernelFactor = 3.0 / 4.0 * std::sqrt(2.0 * std::numbers::pi);
    const int diameter =
        std::max(2, static_cast<int>(std::floor(deviation * kernelFactor * 0.88 + 0.5)));
    if (diameter % 2 == 1) {
        const int lobe = (diameter - 1) / 2;
        return {{{lobe, lobe}, {lobe, lobe}, {lobe, lobe}}};
    }
    const int lobe = diameter / 2;
    return {{{lobe, lobe - 1}, {lobe - 1, lobe}, {lobe, lobe}}};
}

// The same pass down the columns of an n × n picture, a row at a time so that memory is read in
// order.
void columnPass(const float* in, float* out, int n, int left, int right) {
    const float scale = 1.0F / static_cast<float>(left + right + 1);
    std::vector<float> sum(n, 0.0F);
    auto add = [&](int row, float sign) {
        const float* values = in + static_cast<std::ptrdiff_t>(row) * n;
        for (int x = 0; x < n; ++x) {
            sum[x] += sign * values[x];
        }
    };
    for (int j = 0; j < std::min(right, n); ++j) {
        add(j, 1.0F);
    }
    for (int i = 0; i < n; ++i) {
        if (i + right < n) {
            add(i + right, 1.0F);
        }
        float* row = out + static_cast<std::ptrdiff_t>(i) * n;
        for (int x = 0; x < n; ++x) {
            row[x] = sum[x] * scale;
        }
        if (i - left >= 0) {
            add(i - left, -1.0F);
        }
    }
}

int reach(double blur) {
    if (blur <= 0) {
        return 0;
    }
    int total = 0;
    for (const auto& pass : lobes(blur)) {
        total += std::max(pass[0], pass[1]);
    }
    return total;
}

int roundUpTo(int value, int step) {
    return (value + step - 1) / step * step;
}

// Coverage of a pixel by a rounded box, from its centre's signed distance to the outline.
float coverage(double x, double y, double left, double top, double side, double radius) {
    const double half = side / 2.0;
    const double qx = std::fabs(x - (left + half)) - (half - radius);
    const double qy = std::fabs(y - (top + half)) - (half - radius);
    // Along the sides the distance is the larger offset; only in the corners is it a length.
    const double distance = (qx > 0 && qy > 0 ? std::hypot(qx, qy) : std::max(qx, qy)) - radius;
    return static_cast<float>(std::clamp(0.5 - distance, 0.0, 1.0));
}

// The same coverage as an area, from 16 × 16 samples on the outline: the cut-out edge must
// match the renderer's antialiased clip closely, since the shadow is darkest there.
float areaCoverage(double x, double y, double left, double top, double side, double radius) {
    const float centre = coverage(x + 0.5, y + 0.5, left, top, side, radius);
    if (centre <= 0.0F || centre >= 1.0F) {
        const float corner = coverage(x, y, left, top, side, radius) +
                             coverage(x + 1, y + 1, left, top, side, radius);
        if (corner == 2.0F * centre) {
            return centre;
        }
    }
    constexpr int SAMPLES = 16;
    int inside = 0;
    for (int j = 0; j < SAMPLES; ++j) {
        for (int i = 0; i < SAMPLES; ++i) {
            inside += coverage(x + (i + 0.5) / SAMPLES, y + (j + 0.5) / SAMPLES, left, top, side,
                               radius) >= 0.5F;
        }
    }
    return static_cast<float>(inside) / (SAMPLES * SAMPLES);
}

// Keeps the KEPT_PICTURES most recently used pictures in `folder`.
void forgetOldPictures(const std::filesystem::path& folder) {
    std::vector<std::pair<std::filesystem::file_time_type, std::filesystem::path>> pictures;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code unknown;
        const auto used = entry->last_write_time(unknown);
        if (name.starts_with("shadow-") && name.ends_with(".png") && !unknown) {
            pictures.emplace_back(used, entry->path());
        }
    }
    if (pictures.size() <= ShadowPicture::KEPT_PICTURES) {
        return;
    }
    std::sort(pictures.begin(), pictures.end());
    for (std::size_t i = 0; i + ShadowPicture::KEPT_PICTURES < pictures.size(); ++i) {
        std::error_code ignored;
        std::filesystem::remove(pictures[i].second, ignored);
    }
}

} // namespace

std::array<ShadowPicture::Layer, 6> ShadowPicture::layers(int shadow) {
    const double s = shadow / 100.0 * 32.0;
    return {{{s * 0.125, s * 0.25},
             {s * 0.25, s * 0.5},
             {s * 0.5, s},
             {s, s + s},
             {s + s, s * 4.0},
             {s * 4.0, s * 8.0}}};
}

double ShadowPicture::alpha(int shadow) {
    return (shadow / 100.0 * 20.0 + 5.0) / 100.0;
}

ShadowPicture::Geometry ShadowPicture::geometry(int shadow, int radius, int scale) {
    int offset = 0;
    int blur = 0;
    for (const Layer& layer : layers(shadow)) {
        offset = std::max(offset, static_cast<int>(std::ceil(layer.offset * scale)));
        blur = std::max(blur, reach(layer.blur * scale));
    }
    Geometry geometry;
    geometry.scale = scale;
    geometry.outset = roundUpTo(offset + blur + 1, scale);
    geometry.corner = roundUpTo(radius * scale + offset + blur + 1, scale);
    geometry.size = 2 * (geometry.outset + geometry.corner) + 2 * scale;
    return geometry;
}

RgbaImage ShadowPicture::render(int shadow, int radius, int scale) {
    const Geometry g = geometry(shadow, radius, scale);
    const int n = g.size;
    const double box = n - 2.0 * g.outset;
    const double rounding = std::min(static_cast<double>(radius) * scale, box / 2.0);
    const auto count = static_cast<std::size_t>(n) * n;
    // The share of light each pixel keeps under the layers so far.
    std::vector<float> kept(count, 1.0F);
    std::vector<float> mask(count);
    std::vector<float> spare(count);
    const auto opacity = static_cast<float>(alpha(shadow));
    for (const Layer& layer : layers(shadow)) {
        const double offset = layer.offset * scale;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                mask[static_cast<std::size_t>(y) * n + x] =
                    coverage(x + 0.5, y + 0.5, g.outset, g.outset + offset, box, rounding);
            }
        }
        if (layer.blur > 0) {
            const auto passes = lobes(layer.blur * scale);
            for (const auto& pass : passes) {
                for (int y = 0; y < n; ++y) {
                    const std::size_t row = static_cast<std::size_t>(y) * n;
                    boxPass(mask.data() + row, spare.data() + row, n, pass[0], pass[1]);
                }
                mask.swap(spare);
            }
            for (const auto& pass : passes) {
                columnPass(mask.data(), spare.data(), n, pass[0], pass[1]);
                mask.swap(spare);
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            kept[i] *= 1.0F - opacity * mask[i];
        }
    }
    RgbaImage picture(n, n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float shade = 1.0F - kept[static_cast<std::size_t>(y) * n + x];
            const float outside = 1.0F - areaCoverage(x, y, g.outset, g.outset, box, rounding);
            picture.at(x, y)[3] = static_cast<std::uint8_t>(std::lround(255.0F * shade * outside));
        }
    }
    return picture;
}

std::optional<std::string> ShadowPicture::borderImage(int shadow, int radius, int scale,
                                                      double boxWidth, double boxHeight,
                                                      const std::filesystem::path& folder,
                                                      int maxSide) {
    if (shadow <= 0 || scale < 1 || scale > 4) {
        return std::nullopt;
    }
    const Geometry g = geometry(shadow, radius, scale);
    if (boxWidth < g.smallestBox() || boxHeight < g.smallestBox()) {
        return std::nullopt;
    }
    // Versioned, so that a changed blur never meets a picture of an earlier one.
    const std::filesystem::path file =
        folder / ("shadow-3-" + std::to_string(shadow) + "-" + std::to_string(radius) + "-" +
                  std::to_string(scale) + ".png");
    std::error_code missing;
    if (!std::filesystem::exists(file, missing)) {
        if (g.size > maxSide) {
            return std::nullopt;
        }
        std::filesystem::create_directories(folder, missing);
        const auto png = ImageEncoder::quickPngData(render(shadow, radius, scale));
        std::string error;
        if (png.empty() || !AtomicFile::writeFileAtomically(file, png, error)) {
            LOG_WARNING("The shadow picture could not be written: {}", error);
            return std::nullopt;
        }
        forgetOldPictures(folder);
    } else {
        std::error_code ignored;
        std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now(),
                                         ignored);
    }
    GCharPtr uri(g_filename_to_uri(file.c_str(), nullptr, nullptr));
    if (!uri) {
        return std::nullopt;
    }
    // Slices and outset are whole multiples of the scale, so whole CSS pixels.
    const int slice = g.outset + g.corner;
    return "  border-image-source: url(\"" + std::string(uri.get()) + "\");\n" +
           "  border-image-slice: " + std::to_string(slice) + ";\n" +
           "  border-image-width: " + std::to_string(slice / scale) + "px;\n" +
           "  border-image-outset: " + std::to_string(g.outset / scale) + "px;\n" +
           "  border-image-repeat: stretch;";
}

} // namespace lumeris
