#include "SnowTexture.h"

#include <cmath>

#include "Image.h"
#include "ImageWriter.h"
#include "Noise.h"

namespace nox::studio {

namespace {

constexpr int snowSize = 512;
constexpr int jpegQuality = 92;
constexpr std::uint32_t driftSeed = 31;
constexpr std::uint32_t grainSeed = 32;
constexpr std::uint32_t rippleSeed = 33;
// The ground's program lights in linear light and takes this texture as it
// is: the image holds reflectance, not display values. Snow is bright, where
// 8 bits of linear light are finer than the eye can tell.
constexpr float displayGamma = 2.2f;

// Snow height in arbitrary units at texture coordinate (u, v) in [0, 1).
float snowHeight(float u, float v) {
    const glm::vec2 p(u, v);
    const float drifts = periodicFbm(p * 3.0f, 3, 4, 0.5f, driftSeed);
    const float grain = periodicFbm(p * 24.0f, 24, 2, 0.5f, grainSeed);
    // Wind ripples: a wave with whole numbers of crests across the tile, bent
    // by noise so it does not read as stripes.
    const float bend = 1.8f * periodicFbm(p * 4.0f, 4, 3, 0.5f, rippleSeed);
    const float ripples = std::sin(6.2831853f * (2.0f * u + 5.0f * v) + bend);
    return 1.0f * drifts + 0.12f * ripples * (0.5f + 0.5f * drifts) + 0.05f * grain;
}

}  // namespace

void writeSnowTexture(const std::filesystem::path& texturesDir) {
    HeightField heights(snowSize, snowSize);
    for (int y = 0; y < snowSize; ++y) {
        for (int x = 0; x < snowSize; ++x) {
            heights.at(x, y) = snowHeight(static_cast<float>(x) / snowSize, static_cast<float>(y) / snowSize);
        }
    }
    // Shade the relief by a low light; hollows turn faintly blue, as shadowed
    // snow under a clear sky does.
    const Image normals = normalMapFromHeight(heights, 60.0f);
    const glm::vec3 light = glm::normalize(glm::vec3(-0.5f, 0.6f, 0.7f));
    const glm::vec3 lit(0.96f, 0.97f, 0.99f);
    const glm::vec3 shadowed(0.80f, 0.85f, 0.93f);
    Image snow(snowSize, snowSize);
    for (int y = 0; y < snowSize; ++y) {
        for (int x = 0; x < snowSize; ++x) {
            const glm::vec3 n = glm::vec3(normals.at(x, y)) * 2.0f - 1.0f;
            const float shade = glm::clamp(glm::dot(n, light) * 1.1f, 0.0f, 1.0f);
            snow.at(x, y) = glm::vec4(glm::pow(glm::mix(shadowed, lit, shade), glm::vec3(displayGamma)), 1.0f);
        }
    }
    writeJpeg(texturesDir / "snow.jpg", snow, jpegQuality);
}

}  // namespace nox::studio
