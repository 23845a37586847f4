#pragma once

#include <vector>

#include <GL/glew.h>
#include <glm/glm.hpp>

namespace nox::terrain {

// The index ranges of one terrain draw: what glMultiDrawElements takes.
struct DrawRanges {
    std::vector<GLsizei> counts;
    std::vector<const void*> offsets;  // byte offsets into the element buffer

    void clear() {
        counts.clear();
        offsets.clear();
    }
};

// The terrain's grid cut into square chunks, each with the box that holds
// its vertices. A pass draws only the chunks that can put a fragment on the
// screen, with their indices in the original order, so the picture is the
// same as that of drawing every index.
class TerrainChunks {
public:
    static constexpr int quadsPerSide = 1000;
    static constexpr int quadsPerChunk = 20;
    static constexpr int chunksPerSide = quadsPerSide / quadsPerChunk;
    static constexpr int indicesPerQuad = 6;

    TerrainChunks() = default;
    // From the vertex positions, (x, height, z) with x outer and z inner.
    explicit TerrainChunks(const std::vector<float>& positions);

    // Whether any point of the chunk's box, placed at `origin`, can be inside
    // the view of `viewProjection` and on the kept side of `clipPlane`.
    bool mayBeSeen(int chunkX, int chunkZ, const glm::vec3& origin, const glm::mat4& viewProjection,
                   const glm::vec4& clipPlane) const;

    // The ranges of every chunk that may be seen, ascending and merged where
    // they touch.
    void selectVisible(const glm::vec3& origin, const glm::mat4& viewProjection, const glm::vec4& clipPlane,
                       DrawRanges& ranges) const;

    struct Bounds {
        glm::vec3 low;
        glm::vec3 high;
    };
    Bounds bounds(int chunkX, int chunkZ) const {
        return chunkBounds[static_cast<size_t>(chunkX) * chunksPerSide + chunkZ];
    }

private:
    std::vector<Bounds> chunkBounds;  // [chunkX * chunksPerSide + chunkZ], in the terrain's own frame
};

}  // namespace nox::terrain
