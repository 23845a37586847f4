#include "terrain/Terrain.h"

#include <algorithm>

#include "assets/Texture.h"
#include "terrain/TerrainGeometry.h"

namespace nox::terrain {

namespace {
constexpr GLuint positionAttribute = 0;
constexpr GLuint normalAttribute = 1;
}  // namespace

Terrain::Terrain(const glm::vec3& position) : position(position), texture(loadTexture("snow.jpg", "../res/textures")) {
    const TerrainGeometry geometry = buildTerrainGeometry(heights);
    vertexCount = TerrainGeometry::indexCount;
    addAttribute(positionAttribute, 3, geometry.positions.data(), static_cast<int>(geometry.positions.size()));
    addAttribute(normalAttribute, 3, geometry.normals.data(), static_cast<int>(geometry.normals.size()));
    addIndexBuffer(geometry.indices.data(), static_cast<int>(geometry.indices.size()));
    chunks = TerrainChunks(geometry.positions);
    levels = TerrainLevels(geometry.positions);
    levels.upload(vbos[0], vbos[1]);  // the position and normal buffers, as added above
    for (int x = 0; x < TerrainChunks::chunksPerSide; ++x) {
        for (int z = 0; z < TerrainChunks::chunksPerSide; ++z) highest = std::max(highest, chunks.bounds(x, z).high.y);
    }
}

float Terrain::getHeightOfTerrain(float worldX, float worldZ) {
    return heights.getInterpolatedHeight(worldX - position.x, worldZ - position.z);
}

bool Terrain::isAbove(const glm::vec3& point) {
    const glm::vec3 local = point - position;
    const float extent = static_cast<float>(TerrainChunks::quadsPerSide);
    if (local.x < 0.0f || local.z < 0.0f || local.x > extent || local.z > extent) return local.y > highest;
    // The triangles depart from the smooth surface between their vertices by
    // hundredths of a unit; the margin keeps well clear of that.
    constexpr float margin = 0.5f;
    return local.y > getHeightOfTerrain(point.x, point.z) + margin;
}

}  // namespace nox::terrain
