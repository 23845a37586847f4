#include "terrain/TerrainChunks.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include <glm/gtc/matrix_transform.hpp>

#include "app/ViewCulling.h"

namespace nox::terrain {

namespace {

constexpr int verticesPerSide = TerrainChunks::quadsPerSide + 1;

// Widens every box a little, so that the GPU's rounding can never put a
// fragment where the test here saw none.
constexpr float boundsMargin = 0.01f;

}  // namespace

TerrainChunks::TerrainChunks(const std::vector<float>& positions) {
    chunkBounds.resize(static_cast<size_t>(chunksPerSide) * chunksPerSide);
    for (int cx = 0; cx < chunksPerSide; ++cx) {
        for (int cz = 0; cz < chunksPerSide; ++cz) {
            Bounds box{glm::vec3(1e30f), glm::vec3(-1e30f)};
            // A chunk's quads reach the first vertex of the next chunk.
            for (int x = cx * quadsPerChunk; x <= (cx + 1) * quadsPerChunk; ++x) {
                for (int z = cz * quadsPerChunk; z <= (cz + 1) * quadsPerChunk; ++z) {
                    const float* p = &positions[(static_cast<size_t>(x) * verticesPerSide + z) * 3];
                    box.low = glm::min(box.low, glm::vec3(p[0], p[1], p[2]));
                    box.high = glm::max(box.high, glm::vec3(p[0], p[1], p[2]));
                }
            }
            box.low -= boundsMargin;
            box.high += boundsMargin;
            chunkBounds[static_cast<size_t>(cx) * chunksPerSide + cz] = box;
        }
    }
}

bool TerrainChunks::mayBeSeen(int chunkX, int chunkZ, const glm::vec3& origin, const glm::mat4& viewProjection,
                              const glm::vec4& clipPlane) const {
    const Bounds box = bounds(chunkX, chunkZ);
    return boxMayBeSeen(box.low, box.high, glm::translate(glm::mat4(1.0f), origin), viewProjection, clipPlane);
}

void TerrainChunks::selectVisible(const glm::vec3& origin, const glm::mat4& viewProjection, const glm::vec4& clipPlane,
                                  DrawRanges& ranges) const {
    std::array<bool, static_cast<size_t>(chunksPerSide) * chunksPerSide> seen;
    for (int cx = 0; cx < chunksPerSide; ++cx) {
        for (int cz = 0; cz < chunksPerSide; ++cz) {
            seen[static_cast<size_t>(cx) * chunksPerSide + cz] = mayBeSeen(cx, cz, origin, viewProjection, clipPlane);
        }
    }
    ranges.clear();
    // Quads run along z within a row of constant x, so a chunk is one run of
    // indices in each of its rows; runs that touch are drawn as one.
    constexpr GLsizei runLength = quadsPerChunk * indicesPerQuad;
    std::size_t runEnd = 0;
    for (int x = 0; x < quadsPerSide; ++x) {
        const int cx = x / quadsPerChunk;
        for (int cz = 0; cz < chunksPerSide; ++cz) {
            if (!seen[static_cast<size_t>(cx) * chunksPerSide + cz]) continue;
            const std::size_t start =
                (static_cast<std::size_t>(x) * quadsPerSide + static_cast<std::size_t>(cz) * quadsPerChunk) *
                indicesPerQuad;
            if (!ranges.counts.empty() && start == runEnd) {
                ranges.counts.back() += runLength;
            } else {
                ranges.counts.push_back(runLength);
                ranges.offsets.push_back(reinterpret_cast<const void*>(start * sizeof(GLuint)));
            }
            runEnd = start + runLength;
        }
    }
}

}  // namespace nox::terrain
