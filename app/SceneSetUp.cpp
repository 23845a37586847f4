#include "app/SceneSetUp.h"

namespace nox {

namespace {

struct QuadPlacement {
    glm::vec3 translation;
    glm::vec3 rotation;
    float scale;
    unsigned textureIndex;
};

// clang-format off
const std::array<QuadPlacement, Scene::skyFaceCount + 1> quadPlacements{{
    {{0, 0, -500},       {0, 0, 180},    500, 4},  // front
    {{0, 0, 500},        {0, -180, 180}, 500, 2},  // back
    {{500, 0, 0},        {180, 90, 0},   500, 1},  // right
    {{-500, 0, 0},       {0, -90, 180},  500, 0},  // left
    {{0, -500, 0},       {90, 0, 180},   500, 3},  // bottom
    {{0, 500, 0},        {90, 0, 0},     500, 5},  // top
    {{-450, 362, -345},  {90, 0, 0},     50,  6},  // moon
}};
// clang-format on

shapes::Shape placeQuad(int quad) {
    const QuadPlacement& p = quadPlacements[quad];
    return shapes::Shape(getQuadMesh(), p.translation, p.rotation, glm::vec3(p.scale));
}

}  // namespace

SkyQuads placeSkyQuads() {
    return {placeQuad(0), placeQuad(1), placeQuad(2), placeQuad(3), placeQuad(4), placeQuad(5), placeQuad(6)};
}

unsigned skyTextureIndex(int quad) {
    return quadPlacements[quad].textureIndex;
}

}  // namespace nox
