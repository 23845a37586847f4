#include "FireAtlas.h"

#include <algorithm>
#include <cmath>

#include "Atlas.h"
#include "Image.h"
#include "ImageWriter.h"
#include "Noise.h"

namespace nox::studio {

namespace {

constexpr int frameSize = 128;
constexpr int turbulencePeriod = 64;  // large enough never to repeat inside a frame
constexpr std::uint32_t turbulenceSeed = 61;
constexpr std::uint32_t breakupSeed = 62;
constexpr int borderTexels = 4;  // kept black so mipmaps do not mix neighbouring frames

// Black-body-like ramp from the flame's heat to its colour.
glm::vec3 flameColour(float heat) {
    struct Stop {
        float heat;
        glm::vec3 colour;
    };
    static const Stop stops[] = {{0.0f, {0.0f, 0.0f, 0.0f}},     {0.15f, {0.3f, 0.02f, 0.0f}},
                                 {0.35f, {0.75f, 0.12f, 0.02f}}, {0.55f, {1.0f, 0.45f, 0.06f}},
                                 {0.75f, {1.0f, 0.8f, 0.3f}},    {1.0f, {1.0f, 0.97f, 0.85f}}};
    heat = glm::clamp(heat, 0.0f, 1.0f);
    for (int i = 1; i < 6; ++i) {
        if (heat <= stops[i].heat) {
            const float f = (heat - stops[i - 1].heat) / (stops[i].heat - stops[i - 1].heat);
            return glm::mix(stops[i - 1].colour, stops[i].colour, f);
        }
    }
    return stops[5].colour;
}

// Heat of the flame at frame position (x right, y up, both about [-1, 1] and
// [0, 1]) and age in [0, 1].
float flameHeat(float x, float y, float age) {
    // The lick rises and thins as it ages.
    const float base = 0.05f + 0.4f * std::pow(age, 1.3f);
    const float length = 0.68f * (1.0f - 0.4f * age);
    const float width = 0.45f * (1.0f - 0.5f * age);
    const float along = (y - base) / length;
    if (along <= 0.0f || along >= 1.0f) return 0.0f;

    const glm::vec2 scroll(x * 2.5f, (y - age * 1.5f) * 2.5f);
    const float turbulence = periodicFbm(scroll + glm::vec2(8.0f), turbulencePeriod, 4, 0.55f, turbulenceSeed);
    const float sway = 0.14f * std::sin(6.2831853f * (1.2f * along - 0.9f * age)) * along;
    // Teardrop: round at the bottom, drawn out to a point at the top.
    const float halfWidth = width * 1.6f * std::sqrt(along) * std::pow(1.0f - along, 0.9f);
    const float d = std::abs(x - sway + 0.18f * turbulence * along) / std::max(halfWidth, 1e-3f);
    // Turbulence frays the outline but never lights the air around the flame.
    float density = glm::clamp(1.0f - d * d + 0.35f * turbulence, 0.0f, 1.0f) * glm::smoothstep(1.5f, 1.0f, d);

    // Ageing flames tear into wisps: noise eats more of them every frame.
    const float breakup = 0.5f + 0.5f * periodicFbm(scroll * 1.6f, turbulencePeriod, 3, 0.5f, breakupSeed);
    density *= glm::smoothstep(age * 0.6f - 0.15f, age * 0.6f + 0.2f, breakup);

    const float heat = density * (1.05f - 0.8f * age) * (1.0f - 0.45f * along);
    return glm::clamp(heat, 0.0f, 1.0f);
}

}  // namespace

void writeFireAtlas(const std::filesystem::path& texturesDir) {
    Image atlas(frameSize * atlasRows, frameSize * atlasRows);
    for (int frame = 0; frame < atlasFrames; ++frame) {
        const float age = static_cast<float>(frame) / (atlasFrames - 1);
        const int ox = (frame % atlasRows) * frameSize;
        const int oy = (frame / atlasRows) * frameSize;
        for (int py = borderTexels; py < frameSize - borderTexels; ++py) {
            for (int px = borderTexels; px < frameSize - borderTexels; ++px) {
                const float x = (px + 0.5f) / (frameSize * 0.5f) - 1.0f;
                const float y = 1.0f - (py + 0.5f) / frameSize;
                const glm::vec3 c = flameColour(flameHeat(x, y, age));
                atlas.at(ox + px, oy + py) = glm::vec4(c, std::max({c.r, c.g, c.b}));
            }
        }
    }
    writePng(texturesDir / "fireAtlas.png", atlas, 4);
}

}  // namespace nox::studio
