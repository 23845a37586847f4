#pragma once

#include <array>
#include <vector>

#include <GL/glew.h>
#include <glm/glm.hpp>

#include "assets/GlObject.h"
#include "terrain/TerrainChunks.h"

namespace nox::terrain {

// The draws of one pass at chosen levels of detail: what
// glMultiDrawElementsBaseVertex takes, one draw a chunk.
struct LevelDraws {
    std::vector<GLsizei> counts;
    std::vector<const void*> offsets;  // byte offsets into the levels' element buffer
    std::vector<GLint> baseVertices;   // each chunk's first vertex

    void clear() {
        counts.clear();
        offsets.clear();
        baseVertices.clear();
    }
};

// How a pass's camera turns a change of height into pixels on the screen.
struct LevelView {
    glm::vec3 eye;
    glm::vec3 forward;  // the direction it looks, of unit length
    float nearDepth;    // no point in view lies nearer along `forward`
    // At most how many pixels a unit of height spans at unit depth, wherever
    // in the view it lies.
    float pixelsPerUnit;
};

// Coarser triangulations of the terrain's own vertices, chunk by chunk. Level
// L takes every strides[L]-th vertex of a chunk in both directions and joins
// them as the full grid joins its neighbours. A pass draws each chunk at the
// coarsest level whose left-out vertices would move the surface by less than
// about a pixel there: the height field's own deviation from the level,
// measured per chunk, projected at the least depth of the chunk.
//
// Neighbouring chunks differ by at most one level. Where a neighbour is one
// level coarser, the chunk's side takes the neighbour's vertices, so the two
// sides are the same line and no crack opens between them.
//
// The triangles of a chunk are the same for every chunk but for the first
// vertex, so each level and choice of coarser neighbours is one short index
// list, counted from a chunk's first vertex, drawn with that vertex as base.
class TerrainLevels {
public:
    static constexpr int levelCount = 6;
    // Every stride that divides the chunk's side: the sides meeting a coarser
    // neighbour are zipped to its vertices whether or not they are a subset,
    // and with neighbours held one level apart, the smaller each step between
    // levels, the sooner the ground can coarsen with distance.
    static constexpr std::array<int, levelCount> strides{1, 2, 4, 5, 10, TerrainChunks::quadsPerChunk};
    // One bit a side, set where the neighbour is one level coarser.
    enum Side { lowX = 1, highX = 2, lowZ = 4, highZ = 8 };
    static constexpr int sideCombinations = 16;
    // How far, in pixels, a left-out vertex may seem to move.
    static constexpr float pixelError = 1.0f;

    TerrainLevels() = default;
    // Measures every chunk's deviation at every level from the vertex
    // positions, (x, height, z) with x outer and z inner, and lays out the
    // index lists.
    explicit TerrainLevels(const std::vector<float>& positions);

    // Uploads the index lists into a vertex array of their own over the
    // buffers that hold the terrain's positions and normals.
    void upload(GLuint positionBuffer, GLuint normalBuffer);

    // The indices of one level with the given coarser sides, counted from the
    // chunk's first vertex.
    static std::vector<GLushort> chunkIndices(int level, int coarserSides);

    // How far the level's surface lies from the full grid's in the chunk, at
    // most, in height.
    float deviation(int chunkX, int chunkZ, int level) const {
        return deviations[(static_cast<size_t>(chunkX) * TerrainChunks::chunksPerSide + chunkZ) * levelCount + level];
    }

    // What a camera with these matrices, drawing into a viewport of this size,
    // makes of a change of height. The projection is a symmetric perspective.
    static LevelView viewOf(const glm::mat4& view, const glm::mat4& projection, glm::ivec2 viewportSize);

    // Every chunk's level as seen by `view`: [chunkX * chunksPerSide + chunkZ].
    // Only what lies on the kept side of a level `clipPlane` counts: the water
    // passes draw no more. The view and the plane are in the terrain's own frame.
    std::vector<int> chooseLevels(const TerrainChunks& chunks, const LevelView& view,
                                  const glm::vec4& clipPlane = glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)) const;

    // The neighbours one level coarser than the chunk, as Side bits.
    static int coarserSides(const std::vector<int>& levels, int chunkX, int chunkZ);

    // The draws of the chunks that may be seen, nearest first, each at its
    // level from `chooseLevels`; `view` in world space.
    void selectVisible(const TerrainChunks& chunks, const glm::vec3& origin, const glm::mat4& viewProjection,
                       const glm::vec4& clipPlane, const LevelView& view, LevelDraws& draws) const;

    VertexArrayObject vertexArray;  // the terrain's vertex buffers with the levels' element buffer
    BufferObject indexBuffer;

private:
    struct Range {
        GLsizei count = 0;
        GLsizeiptr offset = 0;  // bytes
    };

    std::vector<float> deviations;
    std::array<std::array<Range, sideCombinations>, levelCount> ranges{};
    std::vector<GLushort> indices;  // until uploaded
};

}  // namespace nox::terrain
