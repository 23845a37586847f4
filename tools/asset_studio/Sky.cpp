#include "Sky.h"

#include <cmath>
#include <vector>

#include "Image.h"
#include "ImageWriter.h"
#include "Noise.h"
#include "Random.h"
#include "SkyFaces.h"

namespace nox::studio {

namespace {

// The renderer shows the sky at a tenth of its linear value, so every colour
// here is authored about three times brighter than it will look.
glm::vec3 fromSrgb(int r, int g, int b) {
    return {srgbToLinear(r / 255.0f), srgbToLinear(g / 255.0f), srgbToLinear(b / 255.0f)};
}

const glm::vec3 zenithColour = fromSrgb(22, 31, 70);
const glm::vec3 horizonColour = fromSrgb(10, 14, 30);
const glm::vec3 groundColour = fromSrgb(5, 6, 11);

// The band of the galaxy is the great circle around this pole; it crosses the
// sky high up and away from the moon.
const glm::vec3 galaxyPole = glm::normalize(glm::vec3(0.35f, 0.45f, 0.82f));
constexpr float galaxyCoreWidth = 0.12f;  // sine of the angle from the plane
constexpr float galaxyGlowWidth = 0.30f;
constexpr float galaxyStrength = 0.07f;  // linear, at the brightest point
constexpr std::uint32_t galaxySeed = 101;
constexpr std::uint32_t dustSeed = 202;

// Stars: a power law of brightness, as in a real sky many faint and few bright.
constexpr int fieldStarCount = 16000;
constexpr int bandStarCount = 9000;
constexpr float faintestFieldStar = 0.03f;
constexpr float faintestBandStar = 0.02f;
constexpr float brightnessExponent = 1.45f;
constexpr float brightestStar = 4.0f;
constexpr std::uint64_t starSeed = 2024;

// The smooth part of the sky is evaluated on every coarseStep-th texel edge and
// interpolated in between; it has no detail finer than that.
constexpr int coarseStep = 4;

struct Star {
    glm::vec3 direction;
    glm::vec3 colour;  // linear, already scaled by brightness
    float brightness;
};

// Haze near the horizon dims stars and the galaxy; nothing shows below it.
float atmosphereVisibility(glm::vec3 d) {
    return glm::smoothstep(-0.02f, 0.35f, d.y);
}

float moonGlare(glm::vec3 d) {
    return std::exp((glm::dot(d, moonDirection()) - 1.0f) / 0.02f);
}

glm::vec3 backgroundColour(glm::vec3 d) {
    if (d.y >= 0.0f) return glm::mix(horizonColour, zenithColour, std::pow(d.y, 0.55f));
    return glm::mix(horizonColour, groundColour, glm::smoothstep(0.0f, 0.08f, -d.y));
}

glm::vec3 galaxyColour(glm::vec3 d) {
    const float offPlane = glm::dot(d, galaxyPole);
    const float core = std::exp(-(offPlane * offPlane) / (galaxyCoreWidth * galaxyCoreWidth));
    const float glow = std::exp(-(offPlane * offPlane) / (galaxyGlowWidth * galaxyGlowWidth));
    const float band = 0.65f * core + 0.35f * glow;
    if (band < 1e-3f) return glm::vec3(0.0f);

    // Clumpy star clouds, split along the middle by a ragged dark dust lane.
    const float clouds = 0.5f + 0.5f * fbm3(d * 3.5f, 6, 0.55f, galaxySeed);
    const float laneDistance = (offPlane - 0.015f + 0.03f * fbm3(d * 5.0f, 3, 0.5f, dustSeed + 1)) / 0.035f;
    const float lane =
        std::exp(-laneDistance * laneDistance) * glm::smoothstep(-0.3f, 0.4f, fbm3(d * 6.0f, 4, 0.5f, dustSeed));
    const float intensity = band * clouds * clouds * (1.0f - 0.7f * lane);

    const glm::vec3 warm(1.0f, 0.9f, 0.78f);
    const glm::vec3 cool(0.72f, 0.8f, 1.0f);
    const glm::vec3 tint = glm::mix(cool, warm, glm::clamp(clouds * 1.2f - 0.1f, 0.0f, 1.0f));
    return tint * (galaxyStrength * intensity * atmosphereVisibility(d));
}

glm::vec3 moonHalo(glm::vec3 d) {
    const float c = glm::dot(d, moonDirection());
    const float aboveHorizon = glm::smoothstep(-0.04f, 0.04f, d.y);
    return (glm::vec3(0.012f, 0.018f, 0.032f) * std::exp((c - 1.0f) / 0.04f) +
            glm::vec3(0.004f, 0.006f, 0.012f) * std::exp((c - 1.0f) / 0.35f)) *
           aboveHorizon;
}

glm::vec3 smoothSky(glm::vec3 d) {
    return backgroundColour(d) + galaxyColour(d) + moonHalo(d);
}

glm::vec3 uniformDirection(Random& rng) {
    const float y = rng.range(-1.0f, 1.0f);
    const float phi = rng.range(0.0f, 6.2831853f);
    const float r = std::sqrt(std::max(0.0f, 1.0f - y * y));
    return {r * std::cos(phi), y, r * std::sin(phi)};
}

glm::vec3 bandDirection(Random& rng) {
    const glm::vec3 a = glm::normalize(glm::cross(galaxyPole, glm::vec3(0, 1, 0)));
    const glm::vec3 b = glm::cross(galaxyPole, a);
    const float phi = rng.range(0.0f, 6.2831853f);
    // Sum of uniforms: a bell-shaped spread about the plane.
    const float offset = (rng.uniform() + rng.uniform() + rng.uniform() - 1.5f) * 0.16f;
    const glm::vec3 along = a * std::cos(phi) + b * std::sin(phi);
    return glm::normalize(along * std::cos(offset) + galaxyPole * std::sin(offset));
}

glm::vec3 starTint(Random& rng) {
    // Blue-white, white, yellowish, orange and red giants, commonest first.
    static const glm::vec3 tints[] = {
        {0.78f, 0.86f, 1.0f}, {1.0f, 1.0f, 1.0f}, {1.0f, 0.94f, 0.82f}, {1.0f, 0.8f, 0.6f}, {1.0f, 0.68f, 0.52f}};
    const float pick = rng.uniform();
    if (pick < 0.3f) return tints[0];
    if (pick < 0.65f) return tints[1];
    if (pick < 0.85f) return tints[2];
    if (pick < 0.96f) return tints[3];
    return tints[4];
}

std::vector<Star> makeStars() {
    Random rng(starSeed);
    std::vector<Star> stars;
    for (int i = 0; i < fieldStarCount + bandStarCount; ++i) {
        const bool inBand = i >= fieldStarCount;
        const glm::vec3 d = inBand ? bandDirection(rng) : uniformDirection(rng);
        const float faintest = inBand ? faintestBandStar : faintestFieldStar;
        const float u = std::max(rng.uniform(), 1e-6f);
        const float brightness = std::min(faintest * std::pow(u, -1.0f / brightnessExponent), brightestStar);
        const glm::vec3 tint = starTint(rng);
        const float visible = brightness * atmosphereVisibility(d) * (1.0f - 0.9f * moonGlare(d));
        if (visible > 0.002f) stars.push_back({d, tint * visible, visible});
    }
    return stars;
}

// Low-frequency sky of one face on a coarse grid of texel edges, then
// interpolated to every texel.
void paintSmoothSky(Image& linear, const glm::mat4& m) {
    const int size = linear.width();
    const int cells = size / coarseStep;
    std::vector<glm::vec3> grid(static_cast<std::size_t>(cells + 1) * (cells + 1));
    for (int gy = 0; gy <= cells; ++gy) {
        for (int gx = 0; gx <= cells; ++gx) {
            const float i = static_cast<float>(gx * coarseStep) - 0.5f;
            const float j = static_cast<float>(gy * coarseStep) - 0.5f;
            grid[static_cast<std::size_t>(gy) * (cells + 1) + gx] = smoothSky(texelDirection(m, i, j, size));
        }
    }
    for (int j = 0; j < size; ++j) {
        const float gy = (static_cast<float>(j) + 0.5f) / coarseStep;
        const int y0 = std::min(static_cast<int>(gy), cells - 1);
        const float fy = gy - static_cast<float>(y0);
        for (int i = 0; i < size; ++i) {
            const float gx = (static_cast<float>(i) + 0.5f) / coarseStep;
            const int x0 = std::min(static_cast<int>(gx), cells - 1);
            const float fx = gx - static_cast<float>(x0);
            auto g = [&](int x, int y) { return grid[static_cast<std::size_t>(y) * (cells + 1) + x]; };
            const glm::vec3 top = glm::mix(g(x0, y0), g(x0 + 1, y0), fx);
            const glm::vec3 bottom = glm::mix(g(x0, y0 + 1), g(x0 + 1, y0 + 1), fx);
            linear.at(i, j) = glm::vec4(glm::mix(top, bottom, fy), 1.0f);
        }
    }
}

// Adds every star whose glow reaches this face. The profile is a function of
// the angle between texel and star, so a star on an edge is split exactly
// between the faces that share it.
void paintStars(Image& linear, const glm::mat4& m, glm::vec3 faceCentre, const std::vector<Star>& stars) {
    const int size = linear.width();
    const float texelAngle = 2.0f / static_cast<float>(size);
    const glm::mat4 toQuad = glm::inverse(m);
    for (const Star& star : stars) {
        const float k = glm::dot(star.direction, faceCentre);
        if (k < 0.5f) continue;
        const glm::vec4 local = toQuad * glm::vec4(star.direction * (500.0f / k), 1.0f);
        const float ci = (local.x + 1.0f) * 0.5f * size - 0.5f;
        const float cj = (1.0f - local.y) * 0.5f * size - 0.5f;

        // Bright stars get a wider core and a faint halo, so they read as
        // brighter rather than as hard white dots.
        const float sigma = texelAngle * (0.6f + 0.45f * std::log2(1.0f + 2.0f * star.brightness));
        const bool halo = star.brightness > 1.2f;
        const float haloSigma = sigma * 3.5f;
        const float reach = (halo ? 3.0f * haloSigma : 3.5f * sigma) / (texelAngle * k * k) + 1.0f;

        const int i0 = std::max(0, static_cast<int>(std::floor(ci - reach)));
        const int i1 = std::min(size - 1, static_cast<int>(std::ceil(ci + reach)));
        const int j0 = std::max(0, static_cast<int>(std::floor(cj - reach)));
        const int j1 = std::min(size - 1, static_cast<int>(std::ceil(cj + reach)));
        for (int j = j0; j <= j1; ++j) {
            for (int i = i0; i <= i1; ++i) {
                const glm::vec3 d = texelDirection(m, static_cast<float>(i), static_cast<float>(j), size);
                const glm::vec3 diff = d - star.direction;
                const float angle2 = glm::dot(diff, diff);
                float weight = std::exp(-angle2 / (2.0f * sigma * sigma));
                if (halo) weight += 0.05f * std::exp(-angle2 / (2.0f * haloSigma * haloSigma));
                if (weight < 1e-4f) continue;
                linear.at(i, j) += glm::vec4(star.colour * weight, 0.0f);
            }
        }
    }
}

}  // namespace

glm::vec3 moonDirection() {
    return glm::normalize(glm::vec3(-450.0f, 362.0f, -345.0f));
}

void writeSky(const std::filesystem::path& texturesDir) {
    const std::vector<Star> stars = makeStars();
    unsigned ditherSeed = 1;
    for (const SkyFace& face : skyFaces()) {
        const glm::mat4 m = faceMatrix(face);
        Image image(skyFaceSize, skyFaceSize);
        paintSmoothSky(image, m);
        paintStars(image, m, glm::normalize(face.translation), stars);
        for (int j = 0; j < skyFaceSize; ++j) {
            for (int i = 0; i < skyFaceSize; ++i) {
                glm::vec4& p = image.at(i, j);
                p = glm::vec4(linearToSrgb(glm::vec3(p)), 1.0f);
            }
        }
        ditherForQuantisation(image, ditherSeed++);
        writePng(texturesDir / face.fileName, image, 3);
    }
}

}  // namespace nox::studio
