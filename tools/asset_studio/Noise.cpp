#include "Noise.h"

#include <cmath>

namespace nox::studio {

namespace {

std::uint32_t mix(std::uint32_t h) {
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

std::uint32_t hash(int x, int y, int z, std::uint32_t seed) {
    std::uint32_t h = mix(seed ^ 0x9E3779B9u);
    h = mix(h ^ static_cast<std::uint32_t>(x) * 0x85EBCA6Bu);
    h = mix(h ^ static_cast<std::uint32_t>(y) * 0xC2B2AE35u);
    h = mix(h ^ static_cast<std::uint32_t>(z) * 0x27D4EB2Fu);
    return h;
}

// Quintic fade: continuous second derivative, so shading from noise heights
// shows no creases along lattice lines.
float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

int wrap(int i, int period) {
    return ((i % period) + period) % period;
}

glm::vec2 gradient2(int x, int y, std::uint32_t seed) {
    const float angle = static_cast<float>(hash(x, y, 0, seed) & 0xFFFFu) * (6.2831853f / 65536.0f);
    return {std::cos(angle), std::sin(angle)};
}

// Twelve edge midpoints of a cube: the classic well-spread 3D gradient set.
float dotGradient3(std::uint32_t h, glm::vec3 d) {
    switch (h % 12u) {
        case 0: return d.x + d.y;
        case 1: return -d.x + d.y;
        case 2: return d.x - d.y;
        case 3: return -d.x - d.y;
        case 4: return d.x + d.z;
        case 5: return -d.x + d.z;
        case 6: return d.x - d.z;
        case 7: return -d.x - d.z;
        case 8: return d.y + d.z;
        case 9: return -d.y + d.z;
        case 10: return d.y - d.z;
        default: return -d.y - d.z;
    }
}

}  // namespace

float periodicNoise(glm::vec2 p, int period, std::uint32_t seed) {
    const glm::vec2 cell = glm::floor(p);
    const glm::vec2 f = p - cell;
    const int x0 = static_cast<int>(cell.x);
    const int y0 = static_cast<int>(cell.y);
    auto corner = [&](int dx, int dy) {
        const glm::vec2 g = gradient2(wrap(x0 + dx, period), wrap(y0 + dy, period), seed);
        return glm::dot(g, f - glm::vec2(dx, dy));
    };
    const float u = fade(f.x);
    const float v = fade(f.y);
    const float bottom = glm::mix(corner(0, 0), corner(1, 0), u);
    const float top = glm::mix(corner(0, 1), corner(1, 1), u);
    return glm::mix(bottom, top, v) * 1.4142135f;
}

float noise3(glm::vec3 p, std::uint32_t seed) {
    const glm::vec3 cell = glm::floor(p);
    const glm::vec3 f = p - cell;
    const int x0 = static_cast<int>(cell.x);
    const int y0 = static_cast<int>(cell.y);
    const int z0 = static_cast<int>(cell.z);
    auto corner = [&](int dx, int dy, int dz) {
        return dotGradient3(hash(x0 + dx, y0 + dy, z0 + dz, seed), f - glm::vec3(dx, dy, dz));
    };
    const glm::vec3 w(fade(f.x), fade(f.y), fade(f.z));
    const float x00 = glm::mix(corner(0, 0, 0), corner(1, 0, 0), w.x);
    const float x10 = glm::mix(corner(0, 1, 0), corner(1, 1, 0), w.x);
    const float x01 = glm::mix(corner(0, 0, 1), corner(1, 0, 1), w.x);
    const float x11 = glm::mix(corner(0, 1, 1), corner(1, 1, 1), w.x);
    return glm::mix(glm::mix(x00, x10, w.y), glm::mix(x01, x11, w.y), w.z);
}

float periodicFbm(glm::vec2 p, int period, int octaves, float gain, std::uint32_t seed) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * periodicNoise(p, period, seed + static_cast<std::uint32_t>(i) * 101u);
        norm += amplitude;
        amplitude *= gain;
        p *= 2.0f;
        period *= 2;
    }
    return sum / norm;
}

float fbm3(glm::vec3 p, int octaves, float gain, std::uint32_t seed) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * noise3(p, seed + static_cast<std::uint32_t>(i) * 101u);
        norm += amplitude;
        amplitude *= gain;
        p *= 2.0f;
    }
    return sum / norm;
}

float hash01(int x, int y, std::uint32_t seed) {
    return static_cast<float>(hash(x, y, 7, seed) >> 8) * (1.0f / 16777216.0f);
}

}  // namespace nox::studio
