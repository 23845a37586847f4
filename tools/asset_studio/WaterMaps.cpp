#include "WaterMaps.h"

#include <algorithm>
#include <cmath>

#include "Image.h"
#include "ImageWriter.h"
#include "Noise.h"

namespace nox::studio {

namespace {

constexpr int waterSize = 512;
constexpr std::uint32_t chopSeed = 41;
constexpr float normalStrength = 3.0f;
constexpr float largestOffset = 0.45f;  // distortion uses most of the byte range

// Wavelets crossing at different angles; whole numbers of waves per tile keep
// the surface periodic.
struct Wave {
    int cyclesU;
    int cyclesV;
    float amplitude;
    float phase;
};
const Wave waves[] = {{3, 1, 0.35f, 0.0f}, {-2, 3, 0.3f, 1.7f}, {1, -4, 0.22f, 4.1f}, {5, 2, 0.12f, 2.6f}};

float waterHeight(float u, float v) {
    float h = 0.0f;
    for (const Wave& w : waves) {
        h += w.amplitude * std::sin(6.2831853f * (w.cyclesU * u + w.cyclesV * v) + w.phase);
    }
    return h + 0.6f * periodicFbm(glm::vec2(u, v) * 6.0f, 6, 3, 0.45f, chopSeed);
}

}  // namespace

void writeWaterMaps(const std::filesystem::path& texturesDir) {
    HeightField heights(waterSize, waterSize);
    for (int y = 0; y < waterSize; ++y) {
        for (int x = 0; x < waterSize; ++x) {
            heights.at(x, y) = waterHeight(static_cast<float>(x) / waterSize, static_cast<float>(y) / waterSize);
        }
    }

    // The distortion is the slope of the same surface the normal map shows, so
    // refraction wobbles where the highlights do.
    float steepest = 1e-6f;
    auto slope = [&](int x, int y) {
        return glm::vec2(heights.wrapped(x + 1, y) - heights.wrapped(x - 1, y),
                         heights.wrapped(x, y - 1) - heights.wrapped(x, y + 1));
    };
    for (int y = 0; y < waterSize; ++y) {
        for (int x = 0; x < waterSize; ++x) {
            const glm::vec2 s = slope(x, y);
            steepest = std::max({steepest, std::abs(s.x), std::abs(s.y)});
        }
    }
    Image dudv(waterSize, waterSize);
    for (int y = 0; y < waterSize; ++y) {
        for (int x = 0; x < waterSize; ++x) {
            const glm::vec2 offset = slope(x, y) / steepest * largestOffset;
            dudv.at(x, y) = glm::vec4(0.5f + offset.x, 0.5f + offset.y, 0.0f, 1.0f);
        }
    }
    writePng(texturesDir / "waterDUDV.png", dudv, 3);

    // Heights are in arbitrary units; the strength makes the steepest slopes
    // tilt the normal by about 40 degrees.
    const float strength = normalStrength * 0.5f / steepest;
    writePng(texturesDir / "normal.png", normalMapFromHeight(heights, strength), 3);
}

}  // namespace nox::studio
