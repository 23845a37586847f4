#include "Moon.h"

#include <cmath>
#include <vector>

#include "Image.h"
#include "ImageWriter.h"
#include "Noise.h"
#include "Random.h"

namespace nox::studio {

namespace {

constexpr int moonSize = 512;
constexpr float discRadius = 0.92f;     // of the half-size; the rest stays transparent
constexpr float edgeSoftness = 0.015f;  // of the disc radius: a few texels of fade
constexpr float pi = 3.14159265f;

constexpr float highlandAlbedo = 0.84f;
constexpr float mareAlbedo = 0.47f;
constexpr int craterCount = 700;
constexpr std::uint64_t craterSeed = 1969;
constexpr std::uint32_t surfaceSeed = 77;

// A dark lava plain: an ellipse in longitude and latitude (degrees) whose
// outline is roughened by noise. Positions follow the real near side, so the
// familiar face is there.
struct Mare {
    float longitude;
    float latitude;
    float radiusLongitude;
    float radiusLatitude;
    float darkness;  // 1 = as dark as mareAlbedo
};

const Mare maria[] = {
    {-54, 8, 20, 36, 0.9f},    // Oceanus Procellarum
    {-16, 33, 18, 16, 1.0f},   // Imbrium
    {17, 28, 10, 10, 0.95f},   // Serenitatis
    {31, 8, 13, 11, 1.0f},     // Tranquillitatis
    {59, 17, 7, 6, 1.0f},      // Crisium
    {51, -8, 9, 11, 0.9f},     // Fecunditatis
    {35, -15, 5, 5, 0.9f},     // Nectaris
    {-17, -21, 11, 9, 0.85f},  // Nubium
    {-39, -24, 6, 6, 0.95f},   // Humorum
    {5, 56, 30, 9, 0.7f},      // Frigoris
    {4, 13, 5, 4, 0.85f},      // Vaporum
    {-23, -10, 7, 5, 0.8f},    // Cognitum
    {-31, 7, 8, 6, 0.8f},      // Insularum
};

// Young craters whose bright rays run far across the surface.
struct RayCrater {
    float longitude;
    float latitude;
    float radius;  // degrees of arc
    float reach;   // ray length in crater radii
    float strength;
};

const RayCrater rayCraters[] = {
    {-11, -43, 2.5f, 14, 0.16f},  // Tycho
    {-20, 10, 2.0f, 8, 0.12f},    // Copernicus
    {-38, 8, 1.0f, 8, 0.10f},     // Kepler
    {-47, 24, 1.0f, 5, 0.14f},    // Aristarchus
};

glm::vec3 surfacePoint(float longitudeDeg, float latitudeDeg) {
    const float lon = longitudeDeg * pi / 180.0f;
    const float lat = latitudeDeg * pi / 180.0f;
    return {std::cos(lat) * std::sin(lon), std::sin(lat), std::cos(lat) * std::cos(lon)};
}

float mareCover(glm::vec3 p) {
    const float lon = std::atan2(p.x, p.z) * 180.0f / pi;
    const float lat = std::asin(glm::clamp(p.y, -1.0f, 1.0f)) * 180.0f / pi;
    // Warped, ragged shores rather than clean ellipses.
    const glm::vec3 warp(fbm3(p * 3.0f, 3, 0.5f, surfaceSeed + 5), fbm3(p * 3.0f, 3, 0.5f, surfaceSeed + 6), 0.0f);
    const float roughness = 0.5f * fbm3(p * 4.0f + warp, 5, 0.6f, surfaceSeed + 3);
    float cover = 0.0f;
    for (const Mare& m : maria) {
        const float dx = (lon - m.longitude) * std::cos(lat * pi / 180.0f) / m.radiusLongitude;
        const float dy = (lat - m.latitude) / m.radiusLatitude;
        const float distance = std::sqrt(dx * dx + dy * dy) + roughness;
        cover = std::max(cover, m.darkness * glm::smoothstep(1.25f, 0.6f, distance));
    }
    // Lava flows of different ages: the plains are not uniformly dark.
    return cover * (0.8f + 0.2f * fbm3(p * 9.0f, 3, 0.5f, surfaceSeed + 4));
}

float rayBrightness(glm::vec3 p) {
    float sum = 0.0f;
    std::uint32_t seed = 500;
    for (const RayCrater& c : rayCraters) {
        const glm::vec3 centre = surfacePoint(c.longitude, c.latitude);
        const float distance = std::acos(glm::clamp(glm::dot(p, centre), -1.0f, 1.0f)) * 180.0f / pi / c.radius;
        ++seed;
        if (distance < 1.0f || distance > c.reach) continue;
        // Azimuth around the crater, from a frame tangent to the sphere there.
        const glm::vec3 east = glm::normalize(glm::cross(glm::vec3(0, 1, 0), centre));
        const glm::vec3 north = glm::cross(centre, east);
        const float azimuth = std::atan2(glm::dot(p, north), glm::dot(p, east));
        // Streaks: fine in azimuth, broken up along their length.
        const float along = std::log(distance) * 2.0f;
        const float spokes = periodicNoise(glm::vec2(azimuth / (2.0f * pi) * 40.0f, along), 40, seed);
        const float ray = std::pow(glm::clamp(spokes * 1.4f, 0.0f, 1.0f), 1.5f);
        const float fade = 1.0f - distance / c.reach;
        sum += 0.7f * c.strength * ray * fade * fade + c.strength * 0.6f * std::exp(-(distance - 1.0f) * 1.5f);
    }
    return sum;
}

struct Crater {
    glm::vec3 centre;
    float radius;     // radians
    float freshness;  // bright rims for young craters, worn ones fade into the ground
};

std::vector<Crater> makeCraters() {
    Random rng(craterSeed);
    std::vector<Crater> craters;
    for (int i = 0; i < craterCount; ++i) {
        const float y = rng.range(-1.0f, 1.0f);
        const float phi = rng.range(0.0f, 2.0f * pi);
        const float r = std::sqrt(1.0f - y * y);
        const glm::vec3 centre(r * std::cos(phi), y, r * std::sin(phi));
        if (centre.z < 0.05f) continue;  // far side
        // Many small craters, few large ones.
        const float radiusDeg = std::min(0.3f * std::pow(std::max(rng.uniform(), 1e-3f), -0.8f), 7.0f);
        craters.push_back({centre, radiusDeg * pi / 180.0f, rng.uniform()});
    }
    return craters;
}

// Disc coordinates of a texel: x right, y up, in units of the disc radius.
glm::vec2 discPosition(int px, int py) {
    const float half = moonSize * 0.5f;
    return glm::vec2((px + 0.5f) / half - 1.0f, 1.0f - (py + 0.5f) / half) / discRadius;
}

glm::vec3 spherePoint(glm::vec2 d) {
    const float r2 = glm::dot(d, d);
    if (r2 >= 1.0f) return glm::vec3(glm::normalize(d) * 0.9999f, 0.0141f);
    return {d.x, d.y, std::sqrt(1.0f - r2)};
}

}  // namespace

void writeMoon(const std::filesystem::path& texturesDir) {
    std::vector<float> albedo(static_cast<std::size_t>(moonSize) * moonSize);
    HeightField relief(moonSize, moonSize);
    for (int py = 0; py < moonSize; ++py) {
        for (int px = 0; px < moonSize; ++px) {
            const glm::vec3 p = spherePoint(discPosition(px, py));
            const float mottling = 0.07f * fbm3(p * 4.0f, 6, 0.6f, surfaceSeed);
            const float base = glm::mix(highlandAlbedo, mareAlbedo, mareCover(p)) + mottling;
            albedo[static_cast<std::size_t>(py) * moonSize + px] = base + rayBrightness(p);
        }
    }

    // Craters are splatted over the texels they cover: the albedo of rims and
    // ejecta, and a bowl with a raised rim for the gentle relief shading.
    const float texelsPerRadian = moonSize * 0.5f * discRadius;
    for (const Crater& c : makeCraters()) {
        const float reach = 2.0f * c.radius;
        const int cx = static_cast<int>((c.centre.x * discRadius + 1.0f) * moonSize * 0.5f);
        const int cy = static_cast<int>((1.0f - c.centre.y * discRadius) * moonSize * 0.5f);
        const int span = static_cast<int>(reach * texelsPerRadian) + 2;
        for (int py = std::max(0, cy - span); py < std::min(moonSize, cy + span); ++py) {
            for (int px = std::max(0, cx - span); px < std::min(moonSize, cx + span); ++px) {
                const glm::vec2 d = discPosition(px, py);
                if (glm::dot(d, d) >= 1.0f) continue;
                const glm::vec3 p = spherePoint(d);
                const float t = std::acos(glm::clamp(glm::dot(p, c.centre), -1.0f, 1.0f)) / c.radius;
                if (t > 2.0f) continue;
                float& a = albedo[static_cast<std::size_t>(py) * moonSize + px];
                const float rim = std::exp(-((t - 0.95f) * (t - 0.95f)) / 0.02f);
                const float ejecta = t > 1.0f ? (2.0f - t) * 0.5f : 0.0f;
                a += c.freshness * (0.07f * rim + 0.04f * ejecta) - (t < 0.85f ? 0.025f : 0.0f);
                const float depth = c.radius * 0.25f;
                relief.at(px, py) += t < 1.0f ? (t * t - 1.0f) * depth : 0.0f;
                relief.at(px, py) += 0.3f * depth * rim;
            }
        }
    }

    Image moon(moonSize, moonSize);
    const glm::vec2 lightDir = glm::normalize(glm::vec2(-1.0f, 1.0f));  // from the upper left
    const glm::vec3 tint(1.0f, 0.985f, 0.955f);
    for (int py = 0; py < moonSize; ++py) {
        for (int px = 0; px < moonSize; ++px) {
            const glm::vec2 d = discPosition(px, py);
            const glm::vec3 p = spherePoint(d);
            const float gx = (relief.wrapped(px + 1, py) - relief.wrapped(px - 1, py)) * 0.5f * texelsPerRadian;
            const float gy = (relief.wrapped(px, py - 1) - relief.wrapped(px, py + 1)) * 0.5f * texelsPerRadian;
            // Under a full moon the sun stands behind the viewer: relief barely shows.
            const float shade = 1.0f + 0.12f * (gx * lightDir.x + gy * lightDir.y);
            const float limb = 0.86f + 0.14f * std::sqrt(p.z);
            const float value = albedo[static_cast<std::size_t>(py) * moonSize + px] * shade * limb;
            // Maria are faintly bluish, the highlands faintly warm.
            const glm::vec3 colour =
                glm::clamp(value * glm::mix(glm::vec3(0.93f, 0.96f, 1.0f), tint, value), 0.0f, 1.0f);
            const float r = glm::length(d);
            const float alpha = glm::smoothstep(1.0f, 1.0f - edgeSoftness, r);
            // Transparent texels keep the rim colour, so filtering never pulls a
            // dark fringe into the edge.
            moon.at(px, py) = glm::vec4(colour, alpha);
        }
    }
    writePng(texturesDir / "moon.png", moon, 4);
}

}  // namespace nox::studio
