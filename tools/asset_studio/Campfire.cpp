#include <cmath>

#include "Mesh.h"
#include "Models.h"
#include "ObjWriter.h"
#include "Random.h"
#include "Surfaces.h"

namespace nox::studio {

namespace {
constexpr int stoneCount = 10;
constexpr float ringRadius = 0.6f;  // stone centres; with the stones about 1.5 across
constexpr float pi = 3.14159265f;
}  // namespace

void writeCampfire(const std::filesystem::path& modelsDir) {
    const std::filesystem::path dir = modelsDir / "campfire";
    Random rng(81);
    Mesh mesh;

    MeshPart& stones = mesh.part("campfire_stone");
    for (int k = 0; k < stoneCount; ++k) {
        const float angle = 2.0f * pi * (k + rng.range(-0.15f, 0.15f)) / stoneCount;
        const glm::vec3 radii(rng.range(0.12f, 0.16f), rng.range(0.08f, 0.11f), rng.range(0.11f, 0.15f));
        const glm::vec3 centre(ringRadius * std::cos(angle), radii.y * 0.6f, ringRadius * std::sin(angle));
        addRock(stones, centre, radii, 300u + static_cast<std::uint32_t>(k));
    }

    // A low mound of ash and embers inside the ring.
    addLathe(mesh.part("campfire_embers"), {{0.47f, 0.0f}, {0.3f, 0.035f}, {0.0f, 0.05f}}, 12, 2.0f, 0.5f);

    // Two logs crossed on the embers, and four leaning together over them.
    MeshPart& bark = mesh.part("campfire_log");
    MeshPart& ends = mesh.part("campfire_log_end");
    addLog(bark, ends, {-0.42f, 0.07f, -0.16f}, {0.42f, 0.07f, 0.16f}, 0.06f);
    addLog(bark, ends, {-0.2f, 0.16f, 0.4f}, {0.2f, 0.13f, -0.4f}, 0.055f);
    for (int k = 0; k < 4; ++k) {
        const float angle = 2.0f * pi * k / 4.0f + 0.4f;
        const glm::vec3 foot(0.4f * std::cos(angle), 0.05f, 0.4f * std::sin(angle));
        const glm::vec3 top(0.05f * std::cos(angle + 1.5f), 0.5f, 0.05f * std::sin(angle + 1.5f));
        addLog(bark, ends, foot, top, 0.04f);
    }
    mesh.centreFootprint();

    writeSurface(dir, "campfire_stone", paintRock(256, glm::vec3(0.5f, 0.5f, 0.52f), 91), 4.0f);
    writeSurface(dir, "campfire_log", paintBark(256, glm::vec3(0.32f, 0.22f, 0.15f), 92), 5.0f);
    writeSurface(dir, "campfire_log_end", paintEndGrain(128, 93), 2.0f);
    writeSurface(dir, "campfire_embers", paintEmbers(256, 94), 3.0f);

    // clang-format off
    const std::vector<Material> materials = {
        {"campfire_stone", {0.8f, 0.8f, 0.8f}, {0.05f, 0.05f, 0.05f}, 8.0f, 1.0f, {}, "campfire_stone.png", "", "campfire_stone_normal.png"},
        {"campfire_embers", {1.0f, 0.9f, 0.8f}, {0.02f, 0.02f, 0.02f}, 4.0f, 1.0f, {0.6f, 0.2f, 0.05f}, "campfire_embers.png", "",
         "campfire_embers_normal.png"},
        {"campfire_log", {0.8f, 0.8f, 0.8f}, {0.03f, 0.03f, 0.03f}, 6.0f, 1.0f, {}, "campfire_log.png", "", "campfire_log_normal.png"},
        {"campfire_log_end", {0.8f, 0.8f, 0.8f}, {0.03f, 0.03f, 0.03f}, 6.0f, 1.0f, {}, "campfire_log_end.png", "",
         "campfire_log_end_normal.png"},
    };
    // clang-format on
    writeObj(dir, "campfire.obj", "campfire.mtl", mesh, materials);
}

}  // namespace nox::studio
