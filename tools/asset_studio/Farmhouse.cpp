#include <glm/gtc/matrix_transform.hpp>

#include "House.h"
#include "ImageWriter.h"
#include "Mesh.h"
#include "Models.h"
#include "ObjWriter.h"
#include "Surfaces.h"

namespace nox::studio {

// A two-storey farmhouse in red-painted boards with a lower wing at the back:
// at the scene's scale of 0.4 it stands about 10 units high on a footprint of
// about 15 by 10.
void writeFarmhouse(const std::filesystem::path& modelsDir) {
    const std::filesystem::path dir = modelsDir / "farmhouse";
    const HouseMaterials m{"farmhouse_stone",  "farmhouse_wall", "farmhouse_roof", "farmhouse_snow",
                           "farmhouse_window", "farmhouse_door", "farmhouse_trim"};

    HouseBlock main;
    main.length = 26.0f;
    main.width = 12.0f;
    main.wallHeight = 10.5f;
    main.roofRise = 8.5f;
    main.overhang = 0.9f;
    main.windowSize = {2.0f, 2.6f};
    main.doorSize = {2.2f, 3.8f};
    main.wallRepeat = 6.0f;
    main.frontWindows = {{-9.0f, 1.8f}, {-4.5f, 1.8f}, {4.5f, 1.8f}, {9.0f, 1.8f}, {-9.0f, 6.4f},
                         {-4.5f, 6.4f}, {0.0f, 6.4f},  {4.5f, 6.4f}, {9.0f, 6.4f}};
    main.backWindows = {{-7.0f, 1.8f}, {-7.0f, 6.4f}, {0.0f, 6.4f}, {7.0f, 6.4f}};
    main.gableWindows = {{-2.5f, 6.4f}, {2.5f, 6.4f}, {0.0f, 11.5f}};
    main.doorX = 0.0f;

    HouseBlock wing;
    wing.length = 9.0f;
    wing.width = 8.0f;
    wing.wallHeight = 6.0f;
    wing.roofRise = 4.5f;
    wing.overhang = 0.6f;
    wing.windowSize = {2.0f, 2.6f};
    wing.doorSize = {2.6f, 3.6f};
    wing.wallRepeat = 6.0f;
    wing.frontWindows = {{-2.0f, 1.8f}};
    wing.gableWindows = {{0.0f, 6.3f}};
    wing.doorX = 2.2f;

    Mesh mesh;
    addHouseBlock(mesh, main, m);
    addChimney(mesh, {-6.0f, 14.0f, 0.0f}, 23.5f, 0.7f, m);
    addChimney(mesh, {8.0f, 14.0f, 0.0f}, 23.5f, 0.7f, m);
    // The wing runs back from the main house with its ridge along z.
    Mesh wingMesh;
    addHouseBlock(wingMesh, wing, m);
    const glm::mat4 place =
        glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(-8.0f, 0.0f, -9.5f)), 1.5707964f, glm::vec3(0, 1, 0));
    mesh.append(wingMesh, place);
    mesh.centreFootprint();

    writeSurface(dir, "farmhouse_stone", paintStones(256, 7, glm::vec3(0.55f, 0.52f, 0.5f), 201), 4.0f);
    writeSurface(dir, "farmhouse_wall", paintPlanks(256, 10, glm::vec3(0.5f, 0.12f, 0.08f), 202), 4.0f);
    writeSurface(dir, "farmhouse_roof", paintShingles(256, glm::vec3(0.22f, 0.2f, 0.19f), 203), 4.0f);
    writeSurface(dir, "farmhouse_snow", paintSnowCover(256, 204), 2.0f);
    writeSurface(dir, "farmhouse_door", paintPlanks(128, 1, glm::vec3(0.2f, 0.25f, 0.2f), 205), 3.0f);
    writePng(dir / "farmhouse_window.png", paintWindow(128, 2, 3, glm::vec3(0.92f, 0.9f, 0.86f)), 4);
    writeSurface(dir, "farmhouse_trim", paintPlanks(64, 2, glm::vec3(0.9f, 0.88f, 0.84f), 206), 2.0f);

    const glm::vec3 lamplight(1.0f, 0.75f, 0.4f);
    // clang-format off
    const std::vector<Material> materials = {
        {"farmhouse_stone", {0.8f, 0.8f, 0.8f}, {0.05f, 0.05f, 0.05f}, 8.0f, 1.0f, {}, "farmhouse_stone.png", "", "farmhouse_stone_normal.png"},
        {"farmhouse_wall", {0.8f, 0.8f, 0.8f}, {0.05f, 0.05f, 0.05f}, 8.0f, 1.0f, {}, "farmhouse_wall.png", "", "farmhouse_wall_normal.png"},
        {"farmhouse_roof", {0.8f, 0.8f, 0.8f}, {0.03f, 0.03f, 0.03f}, 6.0f, 1.0f, {}, "farmhouse_roof.png", "", "farmhouse_roof_normal.png"},
        {"farmhouse_snow", {0.9f, 0.9f, 0.95f}, {0.1f, 0.1f, 0.1f}, 10.0f, 1.0f, {}, "farmhouse_snow.png", "", "farmhouse_snow_normal.png"},
        {"farmhouse_window", lamplight, {0.6f, 0.6f, 0.6f}, 60.0f, 1.0f, lamplight, "farmhouse_window.png", "", ""},
        {"farmhouse_door", {0.8f, 0.8f, 0.8f}, {0.05f, 0.05f, 0.05f}, 8.0f, 1.0f, {}, "farmhouse_door.png", "", "farmhouse_door_normal.png"},
        {"farmhouse_trim", {0.8f, 0.8f, 0.8f}, {0.05f, 0.05f, 0.05f}, 8.0f, 1.0f, {}, "farmhouse_trim.png", "", "farmhouse_trim_normal.png"},
    };
    // clang-format on
    writeObj(dir, "farmhouse_obj.obj", "farmhouse_obj.mtl", mesh, materials);
}

}  // namespace nox::studio
