#include "terrain/TerrainLevels.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nox::terrain {

namespace {

constexpr int verticesPerSide = TerrainChunks::quadsPerSide + 1;
constexpr int chunkQuads = TerrainChunks::quadsPerChunk;
constexpr int chunksPerSide = TerrainChunks::chunksPerSide;
constexpr GLuint positionAttribute = 0;
constexpr GLuint normalAttribute = 1;

size_t chunkIndex(int chunkX, int chunkZ) {
    return static_cast<size_t>(chunkX) * chunksPerSide + chunkZ;
}

float heightAt(const std::vector<float>& positions, int x, int z) {
    return positions[(static_cast<size_t>(x) * verticesPerSide + z) * 3 + 1];
}

// The level's surface over the full grid's vertex (x, z): within its square
// of the coarse grid, split as the full grid splits its squares.
float levelHeight(const std::vector<float>& positions, int stride, int x, int z) {
    const int x0 = std::min(x / stride * stride, TerrainChunks::quadsPerSide - stride);
    const int z0 = std::min(z / stride * stride, TerrainChunks::quadsPerSide - stride);
    const float u = static_cast<float>(x - x0) / static_cast<float>(stride);
    const float v = static_cast<float>(z - z0) / static_cast<float>(stride);
    const float h00 = heightAt(positions, x0, z0);
    const float h01 = heightAt(positions, x0, z0 + stride);
    const float h10 = heightAt(positions, x0 + stride, z0);
    const float h11 = heightAt(positions, x0 + stride, z0 + stride);
    if (u + v <= 1.0f) return h00 + (h10 - h00) * u + (h01 - h00) * v;
    return h11 + (h01 - h11) * (1.0f - u) + (h10 - h11) * (1.0f - v);
}

// The nearest distance from `eye` to the box, 0 inside it.
float distanceTo(const TerrainChunks::Bounds& box, const glm::vec3& eye) {
    return glm::length(glm::max(glm::max(box.low - eye, eye - box.high), glm::vec3(0.0f)));
}

// The least depth along the view's direction of any point of the box: that of
// the corner lying furthest back on every axis.
float leastDepth(const TerrainChunks::Bounds& box, const LevelView& view) {
    const glm::vec3 corner(view.forward.x >= 0.0f ? box.low.x : box.high.x,
                           view.forward.y >= 0.0f ? box.low.y : box.high.y,
                           view.forward.z >= 0.0f ? box.low.z : box.high.z);
    return glm::dot(corner - view.eye, view.forward);
}

// The part of a box on the kept side of a plane in the terrain's own frame,
// where the plane is level (the water passes' planes); any other plane keeps
// it whole. Empty boxes come out upside down.
TerrainChunks::Bounds keptPart(TerrainChunks::Bounds box, const glm::vec4& plane) {
    if (plane.x != 0.0f || plane.z != 0.0f || plane.y == 0.0f) return box;
    const float height = -plane.w / plane.y;
    if (plane.y > 0.0f) {
        box.low.y = std::max(box.low.y, height);
    } else {
        box.high.y = std::min(box.high.y, height);
    }
    return box;
}

}  // namespace

TerrainLevels::TerrainLevels(const std::vector<float>& positions)
    : deviations(static_cast<size_t>(chunksPerSide) * chunksPerSide * levelCount, 0.0f) {
    for (int level = 1; level < levelCount; ++level) {
        for (int x = 0; x < verticesPerSide; ++x) {
            const int chunkX = std::min(x / chunkQuads, chunksPerSide - 1);
            for (int z = 0; z < verticesPerSide; ++z) {
                const int chunkZ = std::min(z / chunkQuads, chunksPerSide - 1);
                const float off = std::fabs(levelHeight(positions, strides[level], x, z) - heightAt(positions, x, z));
                float& deviation = deviations[chunkIndex(chunkX, chunkZ) * levelCount + level];
                deviation = std::max(deviation, off);
            }
        }
    }
    for (int level = 0; level < levelCount; ++level) {
        // The coarsest level has no coarser neighbour to meet.
        const int combinations = level + 1 < levelCount ? sideCombinations : 1;
        for (int sides = 0; sides < combinations; ++sides) {
            const std::vector<GLushort> chunk = chunkIndices(level, sides);
            ranges[level][sides] = {static_cast<GLsizei>(chunk.size()),
                                    static_cast<GLsizeiptr>(indices.size() * sizeof(GLushort))};
            indices.insert(indices.end(), chunk.begin(), chunk.end());
        }
    }
}

void TerrainLevels::upload(GLuint positionBuffer, GLuint normalBuffer) {
    vertexArray = VertexArrayObject(gl::generateVertexArray());
    glBindVertexArray(vertexArray);
    for (const auto& [attribute, buffer] :
         {std::pair{positionAttribute, positionBuffer}, {normalAttribute, normalBuffer}}) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glVertexAttribPointer(attribute, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    indexBuffer = BufferObject(gl::generateBuffer());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLushort)), indices.data(),
                 GL_STATIC_DRAW);
    // Unbinding the vertex array first keeps the element buffer recorded in it.
    glBindVertexArray(0);
    indices = {};
}

std::vector<GLushort> TerrainLevels::chunkIndices(int level, int coarserSides) {
    const int stride = strides[level];
    if (level + 1 == levelCount) coarserSides = 0;  // nothing is coarser
    std::vector<GLushort> chunk;
    const auto add = [&chunk](std::array<glm::ivec2, 3> triangle) {
        // Wound as the full grid's triangles: counterclockwise seen from above.
        const glm::ivec2 u = triangle[1] - triangle[0];
        const glm::ivec2 v = triangle[2] - triangle[0];
        if (u.x * v.y - u.y * v.x > 0) std::swap(triangle[1], triangle[2]);
        for (const glm::ivec2& corner : triangle)
            chunk.push_back(static_cast<GLushort>(corner.x * verticesPerSide + corner.y));
    };
    // Where every side meets its neighbour at the same level, or a finer one
    // that meets it, the squares span the whole chunk. Otherwise they stop one
    // square short of the sides, and each side's strip joins the squares' edge
    // to the side's own vertices: the neighbour's where it is coarser.
    const int margin = coarserSides == 0 ? 0 : stride;
    for (int x = margin; x < chunkQuads - margin; x += stride) {
        for (int z = margin; z < chunkQuads - margin; z += stride) {
            const glm::ivec2 a(x, z), b(x, z + stride), c(x + stride, z), d(x + stride, z + stride);
            // Split as the full grid splits its squares.
            add({a, b, c});
            add({b, d, c});
        }
    }
    if (coarserSides == 0) return chunk;

    const int coarser = strides[level + 1];
    for (const Side side : {lowX, highX, lowZ, highZ}) {
        const int outerStride = (coarserSides & side) != 0 ? coarser : stride;
        // A point of the strip, `along` the side and `depth` in from it.
        const auto at = [side](int along, int depth) {
            switch (side) {
                case lowX: return glm::ivec2(depth, along);
                case highX: return glm::ivec2(chunkQuads - depth, along);
                case lowZ: return glm::ivec2(along, depth);
                default: return glm::ivec2(along, chunkQuads - depth);
            }
        };
        // Zips the side's vertices (corner to corner) to the squares' edge
        // (inner corner to inner corner), always stepping along the line whose
        // next vertex comes first.
        int outer = 0;
        int inner = stride;
        while (outer < chunkQuads || inner < chunkQuads - stride) {
            if (inner == chunkQuads - stride || (outer < chunkQuads && outer + outerStride <= inner + stride)) {
                add({at(outer, 0), at(outer + outerStride, 0), at(inner, stride)});
                outer += outerStride;
            } else {
                add({at(outer, 0), at(inner, stride), at(inner + stride, stride)});
                inner += stride;
            }
        }
    }
    return chunk;
}

LevelView TerrainLevels::viewOf(const glm::mat4& view, const glm::mat4& projection, glm::ivec2 viewportSize) {
    const glm::mat3 rotation(view);
    // A point at depth w shows at (P00 x, P11 y) / w in the view's own frame.
    // Raised by h, it moves by h times `up`, the height's direction in that
    // frame, and on the screen by (P00 up.x + ndc.x up.z, P11 up.y + ndc.y up.z)
    // h / w, where both ndc lie within 1 wherever it can be seen.
    const glm::vec3& up = rotation[1];
    const glm::vec2 halfViewport = glm::vec2(viewportSize) * 0.5f;
    const glm::vec2 span(halfViewport.x * (projection[0][0] * std::fabs(up.x) + std::fabs(up.z)),
                         halfViewport.y * (projection[1][1] * std::fabs(up.y) + std::fabs(up.z)));
    LevelView result{};
    result.eye = -(glm::transpose(rotation) * glm::vec3(view[3]));
    result.forward = -glm::vec3(view[0][2], view[1][2], view[2][2]);
    result.nearDepth = projection[3][2] / (projection[2][2] - 1.0f);
    result.pixelsPerUnit = glm::length(span);
    return result;
}

std::vector<int> TerrainLevels::chooseLevels(const TerrainChunks& chunks, const LevelView& view,
                                             const glm::vec4& clipPlane) const {
    std::vector<int> levels(static_cast<size_t>(chunksPerSide) * chunksPerSide, 0);
    for (int chunkX = 0; chunkX < chunksPerSide; ++chunkX) {
        for (int chunkZ = 0; chunkZ < chunksPerSide; ++chunkZ) {
            // Nothing nearer than the near plane is drawn.
            const float depth =
                std::max(leastDepth(keptPart(chunks.bounds(chunkX, chunkZ), clipPlane), view), view.nearDepth);
            int& level = levels[chunkIndex(chunkX, chunkZ)];
            for (level = levelCount - 1; level > 0; --level) {
                if (deviation(chunkX, chunkZ, level) * view.pixelsPerUnit <= pixelError * depth) break;
            }
        }
    }
    // Neighbours at most one level apart: a chunk finer than its neighbours
    // allow pulls them towards its level, which only adds detail.
    for (bool changed = true; changed;) {
        changed = false;
        for (int chunkX = 0; chunkX < chunksPerSide; ++chunkX) {
            for (int chunkZ = 0; chunkZ < chunksPerSide; ++chunkZ) {
                int& level = levels[chunkIndex(chunkX, chunkZ)];
                for (const auto& [dx, dz] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                    const int nx = chunkX + dx;
                    const int nz = chunkZ + dz;
                    if (nx < 0 || nz < 0 || nx >= chunksPerSide || nz >= chunksPerSide) continue;
                    const int allowed = levels[chunkIndex(nx, nz)] + 1;
                    if (level > allowed) {
                        level = allowed;
                        changed = true;
                    }
                }
            }
        }
    }
    return levels;
}

int TerrainLevels::coarserSides(const std::vector<int>& levels, int chunkX, int chunkZ) {
    const int level = levels[chunkIndex(chunkX, chunkZ)];
    const auto coarser = [&](int nx, int nz) {
        return nx >= 0 && nz >= 0 && nx < chunksPerSide && nz < chunksPerSide && levels[chunkIndex(nx, nz)] > level;
    };
    return (coarser(chunkX - 1, chunkZ) ? lowX : 0) | (coarser(chunkX + 1, chunkZ) ? highX : 0) |
           (coarser(chunkX, chunkZ - 1) ? lowZ : 0) | (coarser(chunkX, chunkZ + 1) ? highZ : 0);
}

void TerrainLevels::selectVisible(const TerrainChunks& chunks, const glm::vec3& origin, const glm::mat4& viewProjection,
                                  const glm::vec4& clipPlane, const LevelView& view, LevelDraws& draws) const {
    LevelView localView = view;
    localView.eye -= origin;
    const glm::vec4 localPlane(glm::vec3(clipPlane), clipPlane.w + glm::dot(glm::vec3(clipPlane), origin));
    const std::vector<int> levels = chooseLevels(chunks, localView, localPlane);
    // Nearest first, so that the depth test spares the shading of what lies
    // behind.
    std::vector<std::pair<float, int>> visible;
    for (int chunkX = 0; chunkX < chunksPerSide; ++chunkX) {
        for (int chunkZ = 0; chunkZ < chunksPerSide; ++chunkZ) {
            if (!chunks.mayBeSeen(chunkX, chunkZ, origin, viewProjection, clipPlane)) continue;
            visible.emplace_back(distanceTo(chunks.bounds(chunkX, chunkZ), localView.eye),
                                 static_cast<int>(chunkIndex(chunkX, chunkZ)));
        }
    }
    std::sort(visible.begin(), visible.end());
    draws.clear();
    for (const auto& [distance, chunk] : visible) {
        const int chunkX = chunk / chunksPerSide;
        const int chunkZ = chunk % chunksPerSide;
        const Range& range = ranges[levels[chunk]][coarserSides(levels, chunkX, chunkZ)];
        draws.counts.push_back(range.count);
        draws.offsets.push_back(reinterpret_cast<const void*>(range.offset));
        draws.baseVertices.push_back((chunkX * verticesPerSide + chunkZ) * chunkQuads);
    }
}

}  // namespace nox::terrain
