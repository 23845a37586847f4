#include "House.h"
#include "ImageWriter.h"
#include "Mesh.h"
#include "Models.h"
#include "ObjWriter.h"
#include "Surfaces.h"

namespace nox::studio {

// A small log cottage: at the scene's scale of 0.7 it stands about 7 units high.
void writeCottage(const std::filesystem::path& modelsDir) {
    const std::filesystem::path dir = modelsDir / "cottage";
    const HouseMaterials m{"cottage_stone",  "cottage_wall", "cottage_roof", "cottage_snow",
                           "cottage_window", "cottage_door", "cottage_trim"};

    HouseBlock block;
    block.length = 9.0f;
    block.width = 6.5f;
    block.wallHeight = 4.2f;
    block.roofRise = 3.6f;
    block.overhang = 0.6f;
    block.frontWindows = {{-2.6f, 1.6f}, {2.4f, 1.6f}};
    block.backWindows = {{-1.5f, 1.6f}, {2.0f, 1.6f}};
    block.gableWindows = {{0.0f, 4.6f}};
    block.doorX = 0.0f;
    block.windowSize = {1.1f, 1.3f};
    block.doorSize = {1.1f, 2.3f};
    block.wallRepeat = 3.0f;

    Mesh mesh;
    addHouseBlock(mesh, block, m);
    addChimney(mesh, {2.8f, 5.5f, -1.2f}, 9.7f, 0.45f, m);
    mesh.centreFootprint();

    writeSurface(dir, "cottage_stone", paintStones(256, 6, glm::vec3(0.5f, 0.48f, 0.45f), 101), 4.0f);
    writeSurface(dir, "cottage_wall", paintPlanks(256, 8, glm::vec3(0.45f, 0.32f, 0.22f), 102), 4.0f);
    writeSurface(dir, "cottage_roof", paintShingles(256, glm::vec3(0.3f, 0.22f, 0.17f), 103), 4.0f);
    writeSurface(dir, "cottage_snow", paintSnowCover(256, 104), 2.0f);
    writeSurface(dir, "cottage_door", paintPlanks(128, 1, glm::vec3(0.35f, 0.22f, 0.14f), 105), 3.0f);
    writePng(dir / "cottage_window.png", paintWindow(128, 2, 2, glm::vec3(0.9f, 0.88f, 0.82f)), 4);
    writeSurface(dir, "cottage_trim", paintPlanks(64, 2, glm::vec3(0.85f, 0.83f, 0.78f), 106), 2.0f);

    const glm::vec3 lamplight(1.0f, 0.75f, 0.4f);
    // clang-format off
    const std::vector<Material> materials = {
        {"cottage_stone", {0.8f, 0.8f, 0.8f}, {0.05f, 0.05f, 0.05f}, 8.0f, 1.0f, {}, "cottage_stone.png", "", "cottage_stone_normal.png"},
        {"cottage_wall", {0.8f, 0.8f, 0.8f}, {0.03f, 0.03f, 0.03f}, 6.0f, 1.0f, {}, "cottage_wall.png", "", "cottage_wall_normal.png"},
        {"cottage_roof", {0.8f, 0.8f, 0.8f}, {0.03f, 0.03f, 0.03f}, 6.0f, 1.0f, {}, "cottage_roof.png", "", "cottage_roof_normal.png"},
        {"cottage_snow", {0.9f, 0.9f, 0.95f}, {0.1f, 0.1f, 0.1f}, 10.0f, 1.0f, {}, "cottage_snow.png", "", "cottage_snow_normal.png"},
        {"cottage_window", lamplight, {0.6f, 0.6f, 0.6f}, 60.0f, 1.0f, lamplight, "cottage_window.png", "", ""},
        {"cottage_door", {0.8f, 0.8f, 0.8f}, {0.05f, 0.05f, 0.05f}, 8.0f, 1.0f, {}, "cottage_door.png", "", "cottage_door_normal.png"},
        {"cottage_trim", {0.8f, 0.8f, 0.8f}, {0.05f, 0.05f, 0.05f}, 8.0f, 1.0f, {}, "cottage_trim.png", "", "cottage_trim_normal.png"},
    };
    // clang-format on
    writeObj(dir, "cottage_obj.obj", "cottage_obj.mtl", mesh, materials);
}

}  // namespace nox::studio
