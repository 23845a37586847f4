#include "ImageWriter.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include <stb/stb_image_write.h>

#include "Noise.h"

namespace nox::studio {

namespace {

std::vector<std::uint8_t> quantise(const Image& image, int channels) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(image.width()) * image.height() * channels);
    std::size_t k = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const glm::vec4& p = image.at(x, y);
            for (int c = 0; c < channels; ++c) {
                const float v = glm::clamp(p[c], 0.0f, 1.0f);
                // Never negative, so adding a half rounds; the assets' bytes depend on it.
                bytes[k++] = static_cast<std::uint8_t>(v * 255.0f + 0.5f);  // NOLINT(bugprone-incorrect-roundings)
            }
        }
    }
    return bytes;
}

void prepare(const std::filesystem::path& path) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
}

}  // namespace

void writePng(const std::filesystem::path& path, const Image& image, int channels) {
    prepare(path);
    const std::vector<std::uint8_t> bytes = quantise(image, channels);
    if (!stbi_write_png(path.c_str(), image.width(), image.height(), channels, bytes.data(),
                        image.width() * channels)) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void writeJpeg(const std::filesystem::path& path, const Image& image, int quality) {
    prepare(path);
    const std::vector<std::uint8_t> bytes = quantise(image, 3);
    if (!stbi_write_jpg(path.c_str(), image.width(), image.height(), 3, bytes.data(), quality)) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void ditherForQuantisation(Image& image, unsigned seed) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const float offset = (hash01(x, y, seed) - 0.5f) / 255.0f;
            glm::vec4& p = image.at(x, y);
            p.r += offset;
            p.g += offset;
            p.b += offset;
        }
    }
}

}  // namespace nox::studio
