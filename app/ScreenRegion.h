#pragma once

#include <glm/glm.hpp>

#include "terrain/TerrainChunks.h"

namespace nox {

// A rectangle of the view in normalised device coordinates (-1 to 1).
struct ScreenRegion {
    glm::vec2 low{-1.0f};
    glm::vec2 high{1.0f};

    bool empty() const { return low.x >= high.x || low.y >= high.y; }

    // Widened by `margin` on every side, within the view.
    ScreenRegion grown(float margin) const;
    // Upside down, as the mirrored camera sees it.
    ScreenRegion mirrored() const;
    // Stretches the region over the whole clip volume: a box test after it
    // finds what lies outside the region out of sight.
    glm::mat4 cullingMatrix() const;
    // The scissor box (x, y, width, height) that holds the region in a target
    // of the given size, rounded outwards.
    glm::ivec4 pixels(int width, int height) const;
};

// Where the water can be seen: nowhere but over the chunks of the terrain
// that reach below its surface. The bounds of what those chunks' squares of
// water show in front of the camera; empty when there is no water in sight.
ScreenRegion waterRegion(const terrain::TerrainChunks& chunks, const glm::vec3& origin, float surfaceHeight,
                         const glm::mat4& viewProjection);

}  // namespace nox
