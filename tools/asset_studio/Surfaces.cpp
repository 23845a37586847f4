#include "Surfaces.h"

#include <algorithm>
#include <cmath>

#include "ImageWriter.h"
#include "Noise.h"

namespace nox::studio {

namespace {

// Fills a surface from a function of the texture coordinate (u, v in [0, 1),
// v = 0 at the top row) returning colour and height.
struct Texel {
    glm::vec3 colour;
    float height;
};

template <typename Painter>
Surface paint(int size, Painter painter) {
    Surface s{Image(size, size), HeightField(size, size)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Texel t = painter((x + 0.5f) / size, (y + 0.5f) / size);
            s.diffuse.at(x, y) = glm::vec4(glm::clamp(t.colour, 0.0f, 1.0f), 1.0f);
            s.height.at(x, y) = t.height;
        }
    }
    return s;
}

// Distances to the nearest and second-nearest of one jittered point per cell
// (cells wrap around), and an identifier of the nearest cell.
struct Cells {
    float nearest;
    float second;
    float id;
};

Cells periodicCells(glm::vec2 p, int cells, std::uint32_t seed) {
    const glm::vec2 scaled = p * static_cast<float>(cells);
    const glm::ivec2 home(glm::floor(scaled));
    Cells result{1e9f, 1e9f, 0.0f};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const glm::ivec2 c = home + glm::ivec2(dx, dy);
            const glm::ivec2 wrapped((c.x % cells + cells) % cells, (c.y % cells + cells) % cells);
            const glm::vec2 jitter(hash01(wrapped.x, wrapped.y, seed), hash01(wrapped.x, wrapped.y, seed + 1));
            const float d = glm::length(glm::vec2(c) + 0.15f + 0.7f * jitter - scaled);
            if (d < result.nearest) {
                result.second = result.nearest;
                result.nearest = d;
                result.id = hash01(wrapped.x, wrapped.y, seed + 2);
            } else if (d < result.second) {
                result.second = d;
            }
        }
    }
    return result;
}

}  // namespace

void writeSurface(const std::filesystem::path& dir, const std::string& name, const Surface& surface,
                  float normalStrength) {
    writePng(dir / (name + ".png"), surface.diffuse, 3);
    writePng(dir / (name + "_normal.png"), normalMapFromHeight(surface.height, normalStrength), 3);
}

void writeSpecularFromHeight(const std::filesystem::path& dir, const std::string& name, const Surface& surface,
                             float low, float high) {
    Image shine(surface.height.width(), surface.height.height());
    for (int y = 0; y < shine.height(); ++y) {
        for (int x = 0; x < shine.width(); ++x) {
            const float h = glm::clamp(surface.height.wrapped(x, y), 0.0f, 1.0f);
            shine.at(x, y) = glm::vec4(glm::vec3(glm::mix(low, high, h)), 1.0f);
        }
    }
    writePng(dir / (name + "_specular.png"), shine, 3);
}

Surface paintBark(int size, glm::vec3 colour, std::uint32_t seed) {
    return paint(size, [&](float u, float v) {
        // Long vertical plates split by fissures.
        const float plates = periodicFbm(glm::vec2(u * 6.0f, v * 1.0f), 6, 4, 0.5f, seed);
        const float ridge = 1.0f - std::abs(plates);
        const float fine = periodicFbm(glm::vec2(u * 16.0f, v * 4.0f), 16, 3, 0.5f, seed + 9);
        const float h = ridge * ridge + 0.15f * fine;
        return Texel{colour * (0.45f + 0.6f * h), h};
    });
}

Surface paintPlanks(int size, int boards, glm::vec3 colour, std::uint32_t seed) {
    return paint(size, [&](float u, float v) {
        const float row = v * boards;
        const int board = static_cast<int>(row);
        const float across = row - static_cast<float>(board);
        // Board ends are staggered from row to row.
        const float shift = hash01(board, 0, seed);
        const float along = std::fmod(u + shift, 1.0f);
        const float gap = glm::smoothstep(0.0f, 0.06f, across) * glm::smoothstep(1.0f, 0.94f, across) *
                          glm::smoothstep(0.0f, 0.01f, along) * glm::smoothstep(1.0f, 0.99f, along);
        const float grain = periodicFbm(glm::vec2(u * 2.0f, v * boards * 6.0f), 2, 4, 0.6f, seed + 3);
        const float shade = 0.8f + 0.35f * hash01(board, 1, seed) + 0.18f * grain;
        return Texel{colour * shade * (0.35f + 0.65f * gap), gap * (0.8f + 0.1f * grain)};
    });
}

Surface paintStones(int size, int stonesAcross, glm::vec3 colour, std::uint32_t seed) {
    return paint(size, [&](float u, float v) {
        const Cells c = periodicCells(glm::vec2(u, v), stonesAcross, seed);
        const float edge = c.second - c.nearest;
        const float stone = glm::smoothstep(0.04f, 0.25f, edge);
        const float grit = periodicFbm(glm::vec2(u, v) * 16.0f, 16, 3, 0.5f, seed + 5);
        const float tone = 0.75f + 0.4f * c.id + 0.12f * grit;
        const glm::vec3 mortar(0.42f, 0.41f, 0.4f);
        return Texel{glm::mix(mortar, colour * tone, stone), std::sqrt(stone) + 0.05f * grit};
    });
}

Surface paintRock(int size, glm::vec3 colour, std::uint32_t seed) {
    return paint(size, [&](float u, float v) {
        const float broad = periodicFbm(glm::vec2(u, v) * 3.0f, 3, 5, 0.55f, seed);
        const float speckle = periodicFbm(glm::vec2(u, v) * 32.0f, 32, 2, 0.5f, seed + 1);
        const float lichen = glm::smoothstep(0.3f, 0.6f, periodicFbm(glm::vec2(u, v) * 5.0f, 5, 3, 0.5f, seed + 2));
        const glm::vec3 c =
            glm::mix(colour * (0.8f + 0.3f * broad + 0.1f * speckle), glm::vec3(0.35f, 0.38f, 0.3f), lichen * 0.4f);
        return Texel{c, 0.5f + 0.4f * broad + 0.1f * speckle};
    });
}

Surface paintSnowCover(int size, std::uint32_t seed) {
    return paint(size, [&](float u, float v) {
        const float lumps = periodicFbm(glm::vec2(u, v) * 4.0f, 4, 4, 0.5f, seed);
        const float shade = 0.92f + 0.06f * lumps;
        return Texel{glm::vec3(0.93f, 0.95f, 1.0f) * shade, 0.5f + 0.5f * lumps};
    });
}

Surface paintNeedles(int size, float snowCover, std::uint32_t seed) {
    return paint(size, [&](float u, float v) {
        const float inward = 1.0f - v;  // image rows run from the inner end (top) to the tip
        const float strokes = periodicFbm(glm::vec2(u * 24.0f, inward * 3.0f), 24, 3, 0.5f, seed);
        const glm::vec3 needles = glm::vec3(0.07f, 0.17f, 0.11f) * (0.7f + 0.6f * strokes);
        if (snowCover <= 0.0f) return Texel{needles * 0.75f, 0.5f + 0.5f * strokes};
        // Snow lies along the ridge of each branch and thickest toward the trunk.
        const float ridge = 1.0f - std::abs(u - 0.5f) * 2.0f;
        const float clumps = periodicFbm(glm::vec2(u * 4.0f, inward * 4.0f), 4, 4, 0.55f, seed + 1);
        const float depth = ridge * (0.35f + 0.65f * inward) * snowCover + 0.35f * clumps;
        const float snow = glm::smoothstep(0.25f, 0.4f, depth);
        const glm::vec3 white = glm::vec3(0.9f, 0.93f, 0.98f) * (0.92f + 0.08f * clumps);
        return Texel{glm::mix(needles, white, snow), snow * (0.8f + 0.2f * clumps) + 0.1f * strokes};
    });
}

Surface paintPaintedMetal(int size, glm::vec3 colour, std::uint32_t seed) {
    return paint(size, [&](float u, float v) {
        const float wear = periodicFbm(glm::vec2(u, v) * 5.0f, 5, 5, 0.55f, seed);
        const float rust = glm::smoothstep(0.35f, 0.6f, wear);
        const glm::vec3 c = glm::mix(colour, glm::vec3(0.3f, 0.17f, 0.1f), rust * 0.6f);
        return Texel{c * (0.9f + 0.15f * wear), 0.6f - 0.4f * rust};
    });
}

Surface paintShingles(int size, glm::vec3 colour, std::uint32_t seed) {
    constexpr int rows = 8;
    constexpr int across = 6;
    return paint(size, [&](float u, float v) {
        const float row = v * rows;
        const int r = static_cast<int>(row);
        const float within = row - static_cast<float>(r);
        const float shifted = std::fmod(u * across + (r % 2) * 0.5f, static_cast<float>(across));
        const int column = static_cast<int>(shifted);
        const float side = shifted - static_cast<float>(column);
        // Each shingle thickens toward its lower edge, which shadows the next row.
        const float gap = glm::smoothstep(0.0f, 0.05f, side) * glm::smoothstep(1.0f, 0.95f, side);
        const float h = within * gap;
        const float tone = 0.75f + 0.4f * hash01(column, r, seed);
        return Texel{colour * tone * (0.5f + 0.5f * h), h};
    });
}

Surface paintEmbers(int size, std::uint32_t seed) {
    return paint(size, [&](float u, float v) {
        const Cells c = periodicCells(glm::vec2(u, v), 10, seed);
        const float crack = 1.0f - glm::smoothstep(0.0f, 0.12f, c.second - c.nearest);
        const float heat =
            glm::clamp(crack * (0.5f + periodicFbm(glm::vec2(u, v) * 3.0f, 3, 3, 0.5f, seed + 1)), 0.0f, 1.0f);
        const glm::vec3 ash = glm::vec3(0.16f, 0.15f, 0.14f) * (0.6f + 0.8f * c.id);
        const glm::vec3 glow = glm::mix(glm::vec3(0.6f, 0.08f, 0.0f), glm::vec3(1.0f, 0.55f, 0.1f), heat);
        return Texel{glm::mix(ash, glow, glm::smoothstep(0.2f, 0.6f, heat)), 1.0f - crack};
    });
}

Surface paintEndGrain(int size, std::uint32_t seed) {
    return paint(size, [&](float u, float v) {
        const glm::vec2 d(u - 0.5f, v - 0.5f);
        const float r = glm::length(d) * 2.0f;
        const float wobble = 0.04f * periodicFbm(glm::vec2(u, v) * 4.0f, 4, 2, 0.5f, seed);
        const float rings = 0.5f + 0.5f * std::sin((r + wobble) * 60.0f);
        const glm::vec3 wood = glm::mix(glm::vec3(0.55f, 0.4f, 0.25f), glm::vec3(0.42f, 0.29f, 0.17f), rings);
        const float charred = glm::smoothstep(0.7f, 0.95f, r);
        return Texel{glm::mix(wood, glm::vec3(0.08f, 0.06f, 0.05f), charred), 0.3f * rings};
    });
}

Image paintWindow(int size, int panesAcross, int panesDown, glm::vec3 frameColour) {
    Image window(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = (x + 0.5f) / size;
            const float v = (y + 0.5f) / size;
            const float border = std::min({u, v, 1.0f - u, 1.0f - v});
            const float pu = std::fmod(u * panesAcross, 1.0f);
            const float pv = std::fmod(v * panesDown, 1.0f);
            const float bar = std::min({pu, pv, 1.0f - pu, 1.0f - pv});
            // Lamp light inside: brightest in the middle of the window.
            const float centre = 1.0f - glm::length(glm::vec2(u - 0.5f, v - 0.45f)) * 1.2f;
            const glm::vec3 glow =
                glm::mix(glm::vec3(0.95f, 0.6f, 0.25f), glm::vec3(1.0f, 0.88f, 0.6f), glm::clamp(centre, 0.0f, 1.0f));
            const float pane = glm::smoothstep(0.06f, 0.09f, border) * glm::smoothstep(0.03f, 0.06f, bar);
            window.at(x, y) = glm::vec4(glm::mix(frameColour, glow, pane), glm::mix(1.0f, litWindowAlpha, pane));
        }
    }
    return window;
}

Image paintLampGlass(int size) {
    Image glass(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = (x + 0.5f) / size;
            const float v = (y + 0.5f) / size;
            const float centre = 1.0f - glm::length(glm::vec2(u - 0.5f, v - 0.55f)) * 1.6f;
            const glm::vec3 c =
                glm::mix(glm::vec3(1.0f, 0.72f, 0.35f), glm::vec3(1.0f, 0.95f, 0.8f), glm::clamp(centre, 0.0f, 1.0f));
            glass.at(x, y) = glm::vec4(c, lampGlassAlpha);
        }
    }
    return glass;
}

}  // namespace nox::studio
