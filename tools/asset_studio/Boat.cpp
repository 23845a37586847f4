#include <cmath>

#include "Mesh.h"
#include "Models.h"
#include "ObjWriter.h"
#include "Surfaces.h"

namespace nox::studio {

namespace {

constexpr float pi = 3.14159265f;
constexpr float length = 4.4f;  // stern at x = -length / 2, bow at +length / 2
constexpr float maxHalfBeam = 0.72f;
constexpr float planking = 0.05f;  // hull thickness
constexpr int stations = 16;
constexpr int sectionSteps = 6;  // keel to gunwale on each side
constexpr float plankRepeat = 1.2f;

// Hull lines as functions of t in [0, 1], stern to bow.
float halfBeam(float t) {
    return maxHalfBeam * std::pow(std::max(std::sin(pi * (0.25f + 0.75f * t)), 0.0f), 0.7f);
}
float gunwaleHeight(float t) {
    return 0.62f + 0.22f * t * t * t + 0.05f * (1.0f - t) * (1.0f - t);
}
float keelHeight(float t) {
    return 0.1f * std::pow(t, 4.0f);
}

// A point of the hull surface: s runs from the keel (0) to the gunwale (1) on
// the side given by `side` (+1 or -1 in z); `inset` moves it to the inner skin.
glm::vec3 hullPoint(float t, float s, float side, float inset) {
    const float angle = s * pi * 0.5f;
    const float beam = std::max(halfBeam(t) - inset, 0.0f);
    const float bottom = keelHeight(t) + inset;
    const float y = bottom + (gunwaleHeight(t) - bottom) * (1.0f - std::cos(angle));
    return {(t - 0.5f) * length, y, side * beam * std::sin(angle)};
}

// One skin of the hull as a grid of stations by section steps; `outward` flips
// the winding for the inner skin.
void addSkin(MeshPart& part, float inset, bool outward) {
    for (float side : {-1.0f, 1.0f}) {
        const std::size_t firstVertex = part.vertices.size();
        const std::size_t firstIndex = part.indices.size();
        const std::uint32_t base = static_cast<std::uint32_t>(firstVertex);
        for (int i = 0; i <= stations; ++i) {
            const float t = static_cast<float>(i) / stations;
            for (int k = 0; k <= sectionSteps; ++k) {
                const float s = static_cast<float>(k) / sectionSteps;
                const glm::vec3 p = hullPoint(t, s, side, inset);
                part.add({p, glm::vec3(0, 1, 0), {p.x / plankRepeat, p.y / plankRepeat * 3.0f}});
            }
        }
        const std::uint32_t row = sectionSteps + 1;
        const bool flip = (side > 0) != outward;
        for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(stations); ++i) {
            for (std::uint32_t k = 0; k < static_cast<std::uint32_t>(sectionSteps); ++k) {
                const std::uint32_t a = base + i * row + k;
                const std::uint32_t b = a + row;
                const std::uint32_t c = b + 1;
                const std::uint32_t d = a + 1;
                if (flip) {
                    part.triangle(a, d, c);
                    part.triangle(a, c, b);
                } else {
                    part.triangle(a, b, c);
                    part.triangle(a, c, d);
                }
            }
        }
        smoothNormals(part, firstVertex, firstIndex);
    }
}

// Inner half-width of the hull at station t and height y.
float innerHalfWidth(float t, float y) {
    float best = 0.0f;
    for (int k = 0; k <= 40; ++k) {
        const glm::vec3 p = hullPoint(t, k / 40.0f, 1.0f, planking);
        if (p.y <= y) best = p.z;
    }
    return best;
}

}  // namespace

void writeBoat(const std::filesystem::path& modelsDir) {
    const std::filesystem::path dir = modelsDir / "boat";
    Mesh mesh;

    addSkin(mesh.part("boat_hull"), 0.0f, true);
    MeshPart& wood = mesh.part("boat_wood");
    addSkin(wood, planking, false);

    // The gunwale: the top edge between the two skins, and the flat transom.
    for (float side : {-1.0f, 1.0f}) {
        for (int i = 0; i < stations; ++i) {
            const float t0 = static_cast<float>(i) / stations;
            const float t1 = static_cast<float>(i + 1) / stations;
            const glm::vec3 p[4] = {hullPoint(t0, 1, side, 0), hullPoint(t1, 1, side, 0),
                                    hullPoint(t1, 1, side, planking), hullPoint(t0, 1, side, planking)};
            const glm::vec3 up(0, 1, 0);
            const glm::vec2 uv[4] = {{p[0].x, 0}, {p[1].x, 0}, {p[2].x, 0.05f}, {p[3].x, 0.05f}};
            addFacing(wood, {p[0], up, uv[0]}, {p[1], up, uv[1]}, {p[2], up, uv[2]}, up);
            addFacing(wood, {p[0], up, uv[0]}, {p[2], up, uv[2]}, {p[3], up, uv[3]}, up);
        }
    }
    MeshPart& hull = mesh.part("boat_hull");
    for (int k = 0; k < sectionSteps * 2; ++k) {
        // Fan from the middle of the transom; outer face toward the stern, inner toward the bow.
        const float s0 = std::abs(static_cast<float>(k - sectionSteps)) / sectionSteps;
        const float s1 = std::abs(static_cast<float>(k + 1 - sectionSteps)) / sectionSteps;
        const float side0 = k < sectionSteps ? -1.0f : 1.0f;
        const float side1 = k + 1 <= sectionSteps ? -1.0f : 1.0f;
        for (float inset : {0.0f, planking}) {
            const glm::vec3 a = hullPoint(0, s0, side0, inset);
            const glm::vec3 b = hullPoint(0, s1, side1, inset);
            const glm::vec3 centre(a.x, gunwaleHeight(0) * 0.55f, 0.0f);
            const glm::vec3 facing(inset == 0.0f ? -1.0f : 1.0f, 0, 0);
            MeshPart& target = inset == 0.0f ? hull : wood;
            addFacing(target, {centre, facing, {centre.z, centre.y * 3}}, {a, facing, {a.z, a.y * 3}},
                      {b, facing, {b.z, b.y * 3}}, facing);
        }
    }

    // Two thwarts with snow on them, and a level of snow on the floor.
    MeshPart& snow = mesh.part("boat_snow");
    for (float t : {0.3f, 0.62f}) {
        const float x = (t - 0.5f) * length;
        const float seat = 0.44f;
        const float w = innerHalfWidth(t, seat);
        addBox(wood, glm::vec3(x - 0.13f, seat - 0.05f, -w), glm::vec3(x + 0.13f, seat, w), plankRepeat);
        addBox(snow, glm::vec3(x - 0.11f, seat, -w + 0.06f), glm::vec3(x + 0.11f, seat + 0.05f, w - 0.06f), 1.0f);
    }
    const float floorLevel = 0.24f;  // bilge water frozen and snowed over
    for (int i = 0; i < stations; ++i) {
        const float t0 = static_cast<float>(i) / stations;
        const float t1 = static_cast<float>(i + 1) / stations;
        const float w0 = innerHalfWidth(t0, floorLevel);
        const float w1 = innerHalfWidth(t1, floorLevel);
        if (w0 <= 0.0f && w1 <= 0.0f) continue;
        const float x0 = (t0 - 0.5f) * length;
        const float x1 = (t1 - 0.5f) * length;
        const glm::vec3 p[4] = {
            {x0, floorLevel, w0}, {x1, floorLevel, w1}, {x1, floorLevel, -w1}, {x0, floorLevel, -w0}};
        const glm::vec3 up(0, 1, 0);
        addFacing(snow, {p[0], up, {x0, w0}}, {p[1], up, {x1, w1}}, {p[2], up, {x1, -w1}}, up);
        addFacing(snow, {p[0], up, {x0, w0}}, {p[2], up, {x1, -w1}}, {p[3], up, {x0, -w0}}, up);
    }
    // A pair of oars resting across the thwarts.
    for (float z : {-0.3f, 0.3f}) {
        addBeam(wood, {-1.2f, 0.5f, z}, {1.0f, 0.5f, z * 0.8f}, 0.025f, plankRepeat);
        addBox(wood, glm::vec3(0.55f, 0.48f, z * 0.8f - 0.07f), glm::vec3(1.05f, 0.5f, z * 0.8f + 0.07f), plankRepeat);
    }
    mesh.centreFootprint();

    const Surface paint = paintPlanks(256, 6, glm::vec3(0.16f, 0.25f, 0.3f), 51);
    writeSurface(dir, "boat_hull", paint, 3.0f);
    writeSpecularFromHeight(dir, "boat_hull", paint, 0.05f, 0.35f);
    writeSurface(dir, "boat_wood", paintPlanks(256, 6, glm::vec3(0.5f, 0.36f, 0.22f), 52), 3.0f);
    writeSurface(dir, "boat_snow", paintSnowCover(128, 53), 2.0f);

    // clang-format off
    const std::vector<Material> materials = {
        {"boat_hull", {0.8f, 0.8f, 0.8f}, {0.3f, 0.3f, 0.3f}, 24.0f, 1.0f, {}, "boat_hull.png", "boat_hull_specular.png", "boat_hull_normal.png"},
        {"boat_wood", {0.8f, 0.8f, 0.8f}, {0.05f, 0.05f, 0.05f}, 8.0f, 1.0f, {}, "boat_wood.png", "", "boat_wood_normal.png"},
        {"boat_snow", {0.9f, 0.9f, 0.95f}, {0.1f, 0.1f, 0.1f}, 10.0f, 1.0f, {}, "boat_snow.png", "", "boat_snow_normal.png"},
    };
    // clang-format on
    writeObj(dir, "boat.obj", "boat.mtl", mesh, materials);
}

}  // namespace nox::studio
