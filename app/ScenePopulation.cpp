#include "app/ScenePopulation.h"

#include <string>

#include "terrain/Terrain.h"

namespace nox {

namespace {

using assimp::ModelInstance;

struct ModelFile {
    const char* path;
    float shininess;
    float shininessStrength;
    bool transparent;
};

enum Model { campfire, streetLight, boat, tree1, tree2, tree3, cottage, farmhouse, modelCount };

// clang-format off
const std::array<ModelFile, modelCount> modelFiles{{
    {"../res/models/campfire/campfire.obj",         0.1f, 0.1f, false},
    {"../res/models/lamp/street light.obj",         10.0f, 1.0f, true},
    {"../res/models/boat/boat.obj",                 0.1f, 0.1f, false},
    {"../res/models/trees/tree1.obj",               0.1f, 0.1f, false},
    {"../res/models/trees/tree2.obj",               0.1f, 0.1f, false},
    {"../res/models/trees/tree3.obj",               0.1f, 0.1f, false},
    {"../res/models/cottage/cottage_obj.obj",       0.1f, 0.1f, false},
    {"../res/models/farmhouse/farmhouse_obj.obj",   0.1f, 0.1f, false},
}};
// clang-format on

struct Placement {
    Model model;
    float x;
    float z;
    glm::vec2 sampledAt;  // where the ground height is taken
    float dy;
    float yaw;  // degrees about Y; the boat alone also rolls
    float scale;
};

constexpr float boatLift = 1.2f;
constexpr float boatRoll = -10.0f;
constexpr int boatInstance = 1;
constexpr int movedTreeInstance = 5;

// clang-format off
const std::array<Placement, modelInstanceCount> placements{{
    {campfire,     81,   -2, {81, -2},     0,        0,   1},
    {boat,         62,  -22, {62, -22},    boatLift, 35,  1},
    {tree1,       100,   25, {100, 25},    0,        35,  30},
    {tree2,        95,  -50, {95, -50},    0,        0,   15},
    {tree3,       120,   25, {120, 25},    0,        270, 5},
    {tree1,       108,    5, {108, 5},     0,        90,  24},
    {tree3,       112,   25, {112, 25},    0,        135, 4},
    {tree1,        94,   49, {94, 49},     0,        435, 32},
    {tree2,        77,   87, {77, 87},     0,        163, 12},
    {tree1,        71,  143, {71, 143},    0,        934, 20},
    {tree3,        98,  130, {98, 130},    0,        385, 7},
    {tree2,       142,  103, {142, 103},   0,        569, 14},
    {tree3,       169,   58, {169, 58},    0,        237, 5},
    {tree1,       160,   -2, {160, -2},    0,        645, 25},
    {tree2,       135,  -54, {135, -54},   0,        475, 10},
    {tree1,       102,  -85, {102, -85},   0,        347, 32},
    {tree2,        62,  -95, {62, -95},    0,        493, 13},
    {tree3,        46, -117, {46, -117},   0,        349, 6},
    {tree2,        23, -169, {23, -169},   0,        239, 11},
    {tree3,        87, -142, {87, -142},   0,        12,  5},
    {tree2,       -43, -150, {-43, -150},  0,        45,  16},
    {tree1,         7, -153, {7, -153},    0,        560, 30},
    {tree1,        71, -105, {71, -105},   0,        295, 27},
    {tree3,       142,   50, {142, 50},    0,        340, 5},
    {tree2,       177,  -94, {177, -94},   0,        279, 13},
    {tree2,       214,  -32, {214, -32},   0,        230, 15},
    {tree1,       114,  -20, {114, -20},   0,        704, 20},
    {tree2,       126,  -86, {126, -86},   0,        230, 13},
    {tree3,         3, -102, {4, -102},    0,        670, 6},
    {cottage,      85,  -29, {85, -29},    0,        0,   0.7f},
    {farmhouse,    70,  -52, {70, -52},    0,        0,   0.4f},
    {streetLight,  70,  -15, {65, -5},     0,        0,   3},
    {streetLight,  65,  -65, {65, -65},    0,        0,   3},
}};
// clang-format on

}  // namespace

std::array<ModelInstance, modelInstanceCount> populateScene(terrain::Terrain& terrain, const DisplayConfig& display) {
    std::array<ModelInstance, modelCount> models;
    for (int m = 0; m < modelCount; ++m) {
        assimp::getModelLoader().loadModel(models[m].meshes, modelFiles[m].path);
        models[m].shininess = modelFiles[m].shininess;
        models[m].shininessStrength = modelFiles[m].shininessStrength;
        models[m].transparent = modelFiles[m].transparent;
    }

    std::array<ModelInstance, modelInstanceCount> instances;
    for (int i = 0; i < modelInstanceCount; ++i) {
        Placement p = placements[i];
        if (i == movedTreeInstance) p.z = p.sampledAt.y = display.tree5Z;
        ModelInstance& instance = instances[i];
        instance = models[p.model];
        const float ground = terrain.getHeightOfTerrain(p.sampledAt.x, p.sampledAt.y);
        instance.position = glm::vec3(p.x, ground + p.dy, p.z);
        instance.rotation = glm::vec3(0.0f, p.yaw, i == boatInstance ? boatRoll : 0.0f);
        instance.scale = glm::vec3(p.scale);
        instance.updateModelMatrix();
    }
    return instances;
}

}  // namespace nox

namespace nox::terrain {

assimp::ModelInstance* Terrain::getModelInstances() {
    static std::array<assimp::ModelInstance, modelInstanceCount> instances = populateScene(*this);
    return instances.data();
}

}  // namespace nox::terrain
