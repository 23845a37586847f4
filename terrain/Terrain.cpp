#include "terrain/Terrain.h"

#include "assets/Texture.h"
#include "terrain/TerrainGeometry.h"

namespace nox::terrain {

namespace {
constexpr GLuint positionAttribute = 0;
constexpr GLuint normalAttribute = 1;
}  // namespace

Terrain::Terrain(glm::vec3 position) : position(position) {
    texture = loadTexture("snow.jpg", "../res/textures");
    const TerrainGeometry geometry = buildTerrainGeometry(heights);
    vertexCount = TerrainGeometry::indexCount;
    addAttribute(positionAttribute, 3, geometry.positions.data(), static_cast<int>(geometry.positions.size()));
    addAttribute(normalAttribute, 3, geometry.normals.data(), static_cast<int>(geometry.normals.size()));
    addIndexBuffer(geometry.indices.data(), static_cast<int>(geometry.indices.size()));
    chunks = TerrainChunks(geometry.positions);
}

Terrain::~Terrain() {
    glDeleteTextures(1, &texture);
}

float Terrain::getHeightOfTerrain(float worldX, float worldZ) {
    return heights.getInterpolatedHeight(worldX - position.x, worldZ - position.z);
}

}  // namespace nox::terrain
