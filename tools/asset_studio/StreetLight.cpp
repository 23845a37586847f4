#include <cmath>

#include "Image.h"
#include "ImageWriter.h"
#include "Mesh.h"
#include "Models.h"
#include "ObjWriter.h"
#include "Surfaces.h"

namespace nox::studio {

namespace {

// The lantern's glass runs from lanternBottom to lanternTop, so its middle, where
// the scene hangs the point light, is 2.9 above the base.
constexpr float lanternBottom = 2.68f;
constexpr float lanternTop = 3.12f;
constexpr float lanternHalfBottom = 0.14f;
constexpr float lanternHalfTop = 0.2f;
constexpr float capOverhang = 0.08f;
constexpr float capApex = 3.38f;

glm::vec3 corner(int k, float half, float y) {
    const float sx = (k == 0 || k == 3) ? -1.0f : 1.0f;
    const float sz = (k < 2) ? -1.0f : 1.0f;
    return {sx * half, y, sz * half};
}

// Four sloping faces meeting in an apex over a square base, and the square
// underneath; flat-shaded, as cast iron caps are.
void addPyramid(MeshPart& part, float half, float baseY, float apexY) {
    const glm::vec3 apex(0.0f, apexY, 0.0f);
    for (int k = 0; k < 4; ++k) {
        const glm::vec3 a = corner(k, half, baseY);
        const glm::vec3 b = corner((k + 1) % 4, half, baseY);
        const glm::vec3 middle = (a + b) * 0.5f;
        const glm::vec3 outward(middle.x, 0.3f, middle.z);
        glm::vec3 n = glm::normalize(glm::cross(b - a, apex - a));
        if (glm::dot(n, outward) < 0.0f) n = -n;
        addFacing(part, {a, n, {0, 0}}, {b, n, {1, 0}}, {apex, n, {0.5f, 1}}, outward);
    }
    const glm::vec3 down(0, -1, 0);
    for (int k : {0, 2}) {
        addFacing(part, {corner(k, half, baseY), down, {0, 0}}, {corner(k + 1, half, baseY), down, {1, 0}},
                  {corner((k + 2) % 4, half, baseY), down, {1, 1}}, down);
    }
}

}  // namespace

void writeStreetLight(const std::filesystem::path& modelsDir) {
    const std::filesystem::path dir = modelsDir / "lamp";
    Mesh mesh;

    MeshPart& iron = mesh.part("lamp_iron");
    // Moulded foot, slim post and a collar under the lantern.
    addLathe(iron,
             {{0.0f, 0.0f},
              {0.22f, 0.0f},
              {0.22f, 0.12f},
              {0.17f, 0.16f},
              {0.15f, 0.34f},
              {0.1f, 0.42f},
              {0.07f, 0.5f},
              {0.055f, 2.5f},
              {0.09f, 2.53f},
              {0.09f, 2.6f},
              {0.05f, 2.62f}},
             12, 2.0f, 0.5f);
    addBox(iron, glm::vec3(-lanternHalfBottom - 0.02f, 2.6f, -lanternHalfBottom - 0.02f),
           glm::vec3(lanternHalfBottom + 0.02f, lanternBottom, lanternHalfBottom + 0.02f), 0.5f);
    for (int k = 0; k < 4; ++k) {
        addBeam(iron, corner(k, lanternHalfBottom, lanternBottom), corner(k, lanternHalfTop, lanternTop), 0.012f, 0.5f);
    }
    addPyramid(iron, lanternHalfTop + capOverhang, lanternTop, capApex);
    addLathe(iron,
             {{0.0f, capApex - 0.02f}, {0.035f, capApex + 0.02f}, {0.03f, capApex + 0.07f}, {0.0f, capApex + 0.1f}}, 8,
             1.0f, 0.5f);

    // Snow lying on the cap.
    addPyramid(mesh.part("lamp_snow"), lanternHalfTop + capOverhang - 0.03f, lanternTop + 0.035f, capApex + 0.01f);

    // Glass panes; the scene draws the lamp without culling, so one side is enough.
    MeshPart& glass = mesh.part("lamp_glass");
    for (int k = 0; k < 4; ++k) {
        const glm::vec3 p[4] = {corner(k, lanternHalfBottom, lanternBottom),
                                corner((k + 1) % 4, lanternHalfBottom, lanternBottom),
                                corner((k + 1) % 4, lanternHalfTop, lanternTop), corner(k, lanternHalfTop, lanternTop)};
        const glm::vec2 uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        addQuad(glass, p, uv);
    }
    // The glowing lamp inside.
    addLathe(mesh.part("lamp_bulb"), {{0.0f, 2.8f}, {0.045f, 2.83f}, {0.06f, 2.9f}, {0.045f, 2.97f}, {0.0f, 3.0f}}, 10,
             1.0f, 0.2f);

    const Surface metal = paintPaintedMetal(256, glm::vec3(0.1f, 0.13f, 0.12f), 71);
    writeSurface(dir, "lamp_iron", metal, 3.0f);
    writeSpecularFromHeight(dir, "lamp_iron", metal, 0.1f, 0.6f);
    writeSurface(dir, "lamp_snow", paintSnowCover(128, 72), 2.0f);
    writePng(dir / "lamp_glass.png", paintLampGlass(128), 4);
    writePng(dir / "lamp_bulb.png", Image(16, 16, glm::vec4(1.0f, 0.93f, 0.75f, lampBulbAlpha)), 4);

    const glm::vec3 warm(1.0f, 0.8f, 0.45f);
    // clang-format off
    const std::vector<Material> materials = {
        {"lamp_iron", {0.7f, 0.7f, 0.7f}, {0.5f, 0.5f, 0.5f}, 40.0f, 1.0f, {}, "lamp_iron.png", "lamp_iron_specular.png", "lamp_iron_normal.png"},
        {"lamp_snow", {0.9f, 0.9f, 0.95f}, {0.1f, 0.1f, 0.1f}, 10.0f, 1.0f, {}, "lamp_snow.png", "", "lamp_snow_normal.png"},
        {"lamp_glass", warm, {0.9f, 0.9f, 0.9f}, 80.0f, 0.55f, warm, "lamp_glass.png", "", ""},
        {"lamp_bulb", {1.0f, 0.93f, 0.75f}, {0.0f, 0.0f, 0.0f}, 1.0f, 1.0f, {1.0f, 0.9f, 0.6f}, "lamp_bulb.png", "", ""},
    };
    // clang-format on
    writeObj(dir, "street light.obj", "street_light.mtl", mesh, materials);
}

}  // namespace nox::studio
