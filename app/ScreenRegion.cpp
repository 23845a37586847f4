#include "app/ScreenRegion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace nox {

namespace {
constexpr float smallestW = 1e-4f;  // nearer the camera's plane than this counts as behind it
}  // namespace

ScreenRegion ScreenRegion::grown(float margin) const {
    if (empty()) return *this;
    return {glm::max(low - margin, glm::vec2(-1.0f)), glm::min(high + margin, glm::vec2(1.0f))};
}

ScreenRegion ScreenRegion::mirrored() const {
    return {{low.x, -high.y}, {high.x, -low.y}};
}

glm::mat4 ScreenRegion::cullingMatrix() const {
    const glm::vec2 centre = (low + high) * 0.5f;
    const glm::vec2 half = (high - low) * 0.5f;
    glm::mat4 matrix(1.0f);
    matrix[0][0] = 1.0f / half.x;
    matrix[1][1] = 1.0f / half.y;
    matrix[3][0] = -centre.x / half.x;
    matrix[3][1] = -centre.y / half.y;
    return matrix;
}

glm::ivec4 ScreenRegion::pixels(int width, int height) const {
    const glm::vec2 size(width, height);
    const glm::ivec2 first = glm::ivec2(glm::floor((low + 1.0f) * 0.5f * size));
    const glm::ivec2 last = glm::ivec2(glm::ceil((high + 1.0f) * 0.5f * size));
    const glm::ivec2 from = glm::clamp(first, glm::ivec2(0), glm::ivec2(width, height));
    const glm::ivec2 to = glm::clamp(last, glm::ivec2(0), glm::ivec2(width, height));
    return {from, glm::max(to - from, glm::ivec2(0))};
}

namespace {

// The part of a convex polygon of clip-space points in front of the camera
// (w above smallestW), by cutting each edge that crosses that plane.
std::vector<glm::vec4> inFrontOfTheCamera(const std::array<glm::vec4, 4>& polygon) {
    std::vector<glm::vec4> kept;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const glm::vec4& a = polygon[i];
        const glm::vec4& b = polygon[(i + 1) % polygon.size()];
        if (a.w >= smallestW) kept.push_back(a);
        if ((a.w >= smallestW) != (b.w >= smallestW)) kept.push_back(glm::mix(a, b, (smallestW - a.w) / (b.w - a.w)));
    }
    return kept;
}

}  // namespace

ScreenRegion waterRegion(const terrain::TerrainChunks& chunks, const glm::vec3& origin, float surfaceHeight,
                         const glm::mat4& viewProjection) {
    ScreenRegion region{glm::vec2(1.0f), glm::vec2(-1.0f)};  // empty until a chunk adds to it
    for (int cx = 0; cx < terrain::TerrainChunks::chunksPerSide; ++cx) {
        for (int cz = 0; cz < terrain::TerrainChunks::chunksPerSide; ++cz) {
            const terrain::TerrainChunks::Bounds box = chunks.bounds(cx, cz);
            if (box.low.y + origin.y >= surfaceHeight) continue;  // dry land hides the water here
            // The chunk's square of water, corner after corner around it.
            const glm::vec2 low = glm::vec2(box.low.x, box.low.z) + glm::vec2(origin.x, origin.z);
            const glm::vec2 high = glm::vec2(box.high.x, box.high.z) + glm::vec2(origin.x, origin.z);
            const std::array<glm::vec4, 4> square{viewProjection * glm::vec4(low.x, surfaceHeight, low.y, 1.0f),
                                                  viewProjection * glm::vec4(high.x, surfaceHeight, low.y, 1.0f),
                                                  viewProjection * glm::vec4(high.x, surfaceHeight, high.y, 1.0f),
                                                  viewProjection * glm::vec4(low.x, surfaceHeight, high.y, 1.0f)};
            for (const glm::vec4& corner : inFrontOfTheCamera(square)) {
                const glm::vec2 ndc = glm::vec2(corner) / corner.w;
                region.low = glm::min(region.low, ndc);
                region.high = glm::max(region.high, ndc);
            }
        }
    }
    region.low = glm::max(region.low, glm::vec2(-1.0f));
    region.high = glm::min(region.high, glm::vec2(1.0f));
    return region;
}

}  // namespace nox
