#pragma once

#include <glm/glm.hpp>

#include "assets/Mesh.h"
#include "terrain/HeightField.h"
#include "terrain/TerrainChunks.h"
#include "terrain/TerrainLevels.h"

namespace nox::assimp {
struct ModelInstance;
}

namespace nox::terrain {

// The snowy ground: the height field's mesh, placed at `position`, with the
// snow texture. Heights stay queryable so models can be stood on the ground.
class Terrain : public Mesh {
public:
    explicit Terrain(const glm::vec3& position);

    Terrain(Terrain&&) = delete;
    Terrain& operator=(Terrain&&) = delete;

    float getNoise(int a, int b) { return heights.getNoise(a, b); }
    float getSmoothNoise(int a, int b) { return heights.getSmoothNoise(a, b); }
    float getInterpolatedHeight(float x, float z) { return heights.getInterpolatedHeight(x, z); }

    // Ground height below a world point, in the terrain's own frame (the y of
    // `position` is not added).
    float getHeightOfTerrain(float worldX, float worldZ);

    // Whether a world point lies above the ground: above the surface beneath
    // it, or above the highest ground where the grid does not reach.
    bool isAbove(const glm::vec3& point);

    // The scene's placed models, stood on this terrain: built on the first
    // call (which loads every model file once), the same array afterwards.
    assimp::ModelInstance* getModelInstances();

    HeightField heights;
    glm::vec3 position;
    TextureObject texture;

    TerrainChunks chunks;
    TerrainLevels levels;
    // Draws every index in one call instead of the chunks that may be seen:
    // the same picture, for comparing the two.
    bool singleDraw = false;
    // Draws far chunks coarser, where the difference stays under a pixel.
    bool levelOfDetail = true;
    // Leaves out the faces turned away where no ray can meet one first.
    bool cullBackFaces = true;
    mutable DrawRanges visibleRanges;  // the last draw's, kept to reuse the storage
    mutable LevelDraws levelDraws;     // likewise

private:
    float highest = 0.0f;  // the top of the highest chunk's box, in the terrain's own frame
};

}  // namespace nox::terrain
