#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "terrain/TerrainLevels.h"

namespace {

using nox::terrain::TerrainChunks;
using nox::terrain::TerrainLevels;

constexpr int side = TerrainChunks::quadsPerSide + 1;
constexpr int chunk = TerrainChunks::quadsPerChunk;
constexpr int chunks = TerrainChunks::chunksPerSide;

// Rolling hills, steeper towards high x.
std::vector<float> rollingHills() {
    std::vector<float> positions(static_cast<size_t>(side) * side * 3);
    for (int x = 0; x < side; ++x) {
        for (int z = 0; z < side; ++z) {
            float* p = &positions[(static_cast<size_t>(x) * side + z) * 3];
            p[0] = static_cast<float>(x);
            p[1] = 10.0f * std::sin(static_cast<float>(x) / 30.0f) * std::cos(static_cast<float>(z) / 25.0f) *
                   (1.0f + static_cast<float>(x) / 500.0f);
            p[2] = static_cast<float>(z);
        }
    }
    return positions;
}

struct Terrain {
    std::vector<float> positions = rollingHills();
    TerrainChunks chunks{positions};
    TerrainLevels levels{positions};
};

const Terrain& terrain() {
    static const Terrain shared;
    return shared;
}

// (x, z) of a chunk-local index, the chunk's first vertex at (x0, z0).
std::pair<int, int> place(int index, int x0 = 0, int z0 = 0) {
    return {x0 + index / side, z0 + index % side};
}

// Twice the signed area of a triangle in the (x, z) plane; the full grid's
// triangles are negative: they wind counterclockwise seen from above.
int doubleArea(const std::pair<int, int>& a, const std::pair<int, int>& b, const std::pair<int, int>& c) {
    return (b.first - a.first) * (c.second - a.second) - (b.second - a.second) * (c.first - a.first);
}

// The triangle edges that lie on the line x = lineX, as (z, z) pairs.
std::set<std::pair<int, int>> edgeAlongX(const std::vector<GLushort>& indices, int x0, int z0, int lineX) {
    std::set<std::pair<int, int>> segments;
    for (size_t t = 0; t < indices.size(); t += 3) {
        for (int e = 0; e < 3; ++e) {
            const auto a = place(indices[t + e], x0, z0);
            const auto b = place(indices[t + (e + 1) % 3], x0, z0);
            if (a.first == lineX && b.first == lineX) segments.insert(std::minmax(a.second, b.second));
        }
    }
    return segments;
}

// Whatever its coarser neighbours, each level covers its chunk exactly once
// with triangles facing up, and its coarsest level is two triangles.
TEST(TerrainLevels, EveryLevelAndSeamTilesTheChunkWithTrianglesFacingUp) {
    for (int level = 0; level < TerrainLevels::levelCount; ++level) {
        for (int sides = 0; sides < TerrainLevels::sideCombinations; ++sides) {
            const std::vector<GLushort> indices = TerrainLevels::chunkIndices(level, sides);
            ASSERT_EQ(indices.size() % 3, 0u);
            int area = 0;
            for (size_t t = 0; t < indices.size(); t += 3) {
                const int twice = doubleArea(place(indices[t]), place(indices[t + 1]), place(indices[t + 2]));
                ASSERT_LT(twice, 0) << "level " << level << ", sides " << sides << ", triangle " << t / 3;
                area -= twice;
            }
            EXPECT_EQ(area, 2 * chunk * chunk) << "level " << level << ", sides " << sides;
        }
    }
    EXPECT_EQ(TerrainLevels::chunkIndices(0, 0).size(), 6u * chunk * chunk);
    EXPECT_EQ(TerrainLevels::chunkIndices(TerrainLevels::levelCount - 1, 0).size(), 6u);
}

// Two chunks side by side, the second one level coarser: the first's edge,
// moved onto the coarser grid, is the very line the second one draws, so
// no crack can open between them. Checked across x; the sides across z
// follow from the same rule with the axes swapped.
TEST(TerrainLevels, AnEdgeMeetingACoarserNeighbourIsTheNeighboursEdge) {
    for (int level = 0; level + 1 < TerrainLevels::levelCount; ++level) {
        const auto fine = TerrainLevels::chunkIndices(level, TerrainLevels::highX);
        const auto coarse = TerrainLevels::chunkIndices(level + 1, 0);
        EXPECT_EQ(edgeAlongX(fine, 0, 0, chunk), edgeAlongX(coarse, chunk, 0, chunk)) << "level " << level;
        const auto fineFromAbove = TerrainLevels::chunkIndices(level, TerrainLevels::lowX);
        EXPECT_EQ(edgeAlongX(fineFromAbove, chunk, 0, chunk), edgeAlongX(coarse, 0, 0, chunk)) << "level " << level;
        // Unadapted, the finer edge has more vertices than the coarser one.
        EXPECT_NE(edgeAlongX(TerrainLevels::chunkIndices(level, 0), 0, 0, chunk), edgeAlongX(coarse, chunk, 0, chunk));
    }
}

// A camera at `eye` looking at `target`, drawing 1280 x 720 with the
// program's projection (its 70 taken as radians).
struct Camera {
    Camera(const glm::vec3& eye, const glm::vec3& target) {
        const glm::mat4 view = glm::lookAt(eye, target, glm::vec3(0.0f, 1.0f, 0.0f));
        const glm::mat4 projection = glm::perspective(70.0f, 1.0f, 0.1f, 1000.0f);
        viewProjection = projection * view;
        levels = TerrainLevels::viewOf(view, projection, viewport);
    }

    static constexpr glm::ivec2 viewport{1280, 720};
    glm::mat4 viewProjection{};
    nox::terrain::LevelView levels{};
};

// Projected for real, the deviation of each chunk's level moves no point of
// the chunk that can be seen by more than about a pixel; neighbours stay
// within one level of each other.
TEST(TerrainLevels, LevelsStayWithinAPixelAndNeighboursWithinOneLevel) {
    const Camera low({520.0f, 30.0f, 480.0f}, {900.0f, 30.0f, 700.0f});
    for (const Camera& camera : {low, Camera({520.0f, 150.0f, 480.0f}, {700.0f, 0.0f, 650.0f})}) {
        const std::vector<int> levels = terrain().levels.chooseLevels(terrain().chunks, camera.levels);
        const auto toPixels = [&](const glm::vec3& point, glm::vec2& pixels) {
            const glm::vec4 clip = camera.viewProjection * glm::vec4(point, 1.0f);
            if (clip.w < 0.1f || std::abs(clip.x) > clip.w || std::abs(clip.y) > clip.w) return false;
            pixels = (glm::vec2(clip) / clip.w * 0.5f + 0.5f) * glm::vec2(Camera::viewport);
            return true;
        };
        int coarseInView = 0;
        for (int x = 0; x < chunks; ++x) {
            for (int z = 0; z < chunks; ++z) {
                const int level = levels[static_cast<size_t>(x) * chunks + z];
                const float deviation = terrain().levels.deviation(x, z, level);
                const TerrainChunks::Bounds box = terrain().chunks.bounds(x, z);
                bool seen = false;
                for (int i = 0; i < 27; ++i) {
                    // The corners, the middles of the edges and faces, the centre.
                    const glm::ivec3 step(i % 3, i / 3 % 3, i / 9);
                    const glm::vec3 point = box.low + (box.high - box.low) * glm::vec3(step) * 0.5f;
                    glm::vec2 at, moved;
                    if (!toPixels(point, at) || !toPixels(point + glm::vec3(0.0f, deviation, 0.0f), moved)) continue;
                    EXPECT_LE(glm::length(moved - at), TerrainLevels::pixelError * 1.01f)
                        << "chunk " << x << ", " << z << " at level " << level;
                    seen = true;
                }
                coarseInView += seen && level > 1;
                if (x + 1 < chunks) {
                    EXPECT_LE(std::abs(level - levels[static_cast<size_t>(x + 1) * chunks + z]), 1);
                }
                if (z + 1 < chunks) {
                    EXPECT_LE(std::abs(level - levels[static_cast<size_t>(x) * chunks + z + 1]), 1);
                }
            }
        }
        EXPECT_GT(coarseInView, 10);
    }
    const std::vector<int> fromLow = terrain().levels.chooseLevels(terrain().chunks, low.levels);
    EXPECT_EQ(fromLow[static_cast<size_t>(520 / chunk) * chunks + 480 / chunk], 0);  // under the low eye
    // The deviation is the height field's own: none at full detail, more the
    // coarser the level, somewhere.
    EXPECT_EQ(terrain().levels.deviation(5, 5, 0), 0.0f);
    EXPECT_GT(terrain().levels.deviation(5, 5, 3), terrain().levels.deviation(5, 5, 1));
}

// The water passes keep only what lies on one side of the surface: an eye
// under it, as the reflection's is, sees the hills from no nearer than the
// surface, and their levels may be as coarse as that distance allows.
TEST(TerrainLevels, OnlyThePartOnTheKeptSideOfALevelPlaneCounts) {
    const Camera underTheSurface({520.0f, -30.0f, 480.0f}, {700.0f, 10.0f, 600.0f});
    const glm::vec4 keepAboveFive(0.0f, 1.0f, 0.0f, -5.0f);
    const std::vector<int> whole = terrain().levels.chooseLevels(terrain().chunks, underTheSurface.levels);
    const std::vector<int> kept =
        terrain().levels.chooseLevels(terrain().chunks, underTheSurface.levels, keepAboveFive);
    int coarser = 0;
    for (size_t chunk = 0; chunk < whole.size(); ++chunk) {
        EXPECT_GE(kept[chunk], whole[chunk]);
        coarser += kept[chunk] > whole[chunk];
    }
    EXPECT_GT(coarser, 0);
}

}  // namespace
