#include "LensFlares.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "Image.h"
#include "ImageWriter.h"

namespace nox::studio {

namespace {

constexpr float pi = 3.14159265f;

// A ghost of a six-bladed aperture: distance measured so that the level set 1
// is a hexagon with its corners on the unit circle.
float hexagonRadius(glm::vec2 p) {
    float r = 0.0f;
    for (int k = 0; k < 3; ++k) {
        const float a = k * pi / 3.0f;
        r = std::max(r, std::abs(p.x * std::cos(a) + p.y * std::sin(a)));
    }
    return r / std::cos(pi / 6.0f);
}

// Strength and colour of a sprite at p (centre 0, edges at +-1).
struct Sample {
    glm::vec3 colour;
    float strength;
};

// Every sprite fades to nothing before the edge of its square, so no edge shows
// when it is drawn rotated.
void writeSprite(const std::filesystem::path& path, int size, const std::function<Sample(glm::vec2)>& sprite) {
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const glm::vec2 p((x + 0.5f) / (size * 0.5f) - 1.0f, 1.0f - (y + 0.5f) / (size * 0.5f));
            const Sample s = sprite(p);
            const float edge = glm::smoothstep(1.0f, 0.9f, glm::length(p));
            image.at(x, y) = glm::vec4(s.colour, glm::clamp(s.strength * edge, 0.0f, 1.0f));
        }
    }
    writePng(path, image, 4);
}

Sample glow(glm::vec2 p) {
    const float r = glm::length(p);
    const float strength = 0.9f * std::exp(-r * r / 0.012f) + 0.45f * std::exp(-r / 0.18f);
    return {glm::vec3(1.0f, 0.93f, 0.8f), strength};
}

Sample smallDisc(glm::vec2 p) {
    const float r = glm::length(p);
    const float fill = 0.3f * glm::smoothstep(0.62f, 0.54f, r);
    const float rim = 0.15f * std::exp(-std::pow((r - 0.57f) / 0.03f, 2.0f));
    return {glm::vec3(0.6f, 1.0f, 0.85f), fill + rim};
}

// A thin halo split into colours: red reaches furthest, blue the least.
Sample chromaticRing(glm::vec2 p) {
    const float r = glm::length(p);
    glm::vec3 rgb;
    for (int c = 0; c < 3; ++c) {
        const float radius = 0.74f - 0.035f * c;
        rgb[c] = std::exp(-std::pow((r - radius) / 0.035f, 2.0f));
    }
    const float strength = std::max({rgb.r, rgb.g, rgb.b});
    return {strength > 1e-4f ? rgb / strength : glm::vec3(1.0f), 0.5f * strength};
}

Sample amberHexagon(glm::vec2 p) {
    const float h = hexagonRadius(p / 0.62f);
    return {glm::vec3(1.0f, 0.72f, 0.38f), 0.38f * glm::smoothstep(1.0f, 0.9f, h)};
}

Sample violetHalo(glm::vec2 p) {
    const float r = glm::length(p);
    const float fill = 0.14f * glm::smoothstep(0.8f, 0.2f, r);
    const float rim = 0.22f * std::exp(-std::pow((r - 0.72f) / 0.06f, 2.0f));
    return {glm::vec3(0.6f, 0.62f, 1.0f), fill + rim};
}

Sample largeGhost(glm::vec2 p) {
    const float h = hexagonRadius(p / 0.82f);
    const float fill = 0.1f * glm::smoothstep(1.0f, 0.93f, h);
    const float rim = 0.16f * std::exp(-std::pow((h - 0.96f) / 0.035f, 2.0f));
    return {glm::vec3(0.55f, 1.0f, 0.72f), fill + rim};
}

// Long horizontal streak through a small hot core with six thin spikes.
Sample starStreak(glm::vec2 p) {
    const float r = glm::length(p);
    const float streak = std::exp(-std::abs(p.y) / 0.012f) * std::exp(-std::abs(p.x) * 2.2f);
    float spikes = 0.0f;
    for (int k = 0; k < 3; ++k) {
        const float a = k * pi / 3.0f + pi / 6.0f;
        const float across = std::abs(-p.x * std::sin(a) + p.y * std::cos(a));
        spikes += std::exp(-across / 0.006f) * std::exp(-r * 4.0f);
    }
    const float core = std::exp(-r * r / 0.002f);
    const float strength = 0.8f * streak + 0.5f * spikes + core;
    const glm::vec3 colour =
        glm::mix(glm::vec3(0.75f, 0.85f, 1.0f), glm::vec3(1.0f), glm::clamp(core * 2.0f, 0.0f, 1.0f));
    return {colour, strength};
}

}  // namespace

void writeLensFlares(const std::filesystem::path& texturesDir) {
    const std::filesystem::path dir = texturesDir / "lensflares";
    writeSprite(dir / "lf1.png", 256, glow);
    writeSprite(dir / "lf2.png", 128, smallDisc);
    writeSprite(dir / "lf3.png", 256, chromaticRing);
    writeSprite(dir / "lf4.png", 128, amberHexagon);
    writeSprite(dir / "lf5.png", 256, violetHalo);
    writeSprite(dir / "lf6.png", 256, largeGhost);
    writeSprite(dir / "lf7.png", 512, starStreak);
}

}  // namespace nox::studio
