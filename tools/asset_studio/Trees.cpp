#include <cmath>

#include "Mesh.h"
#include "Models.h"
#include "ObjWriter.h"
#include "Random.h"
#include "Surfaces.h"

namespace nox::studio {

namespace {

constexpr float pi = 3.14159265f;

// A snow-laden conifer: a trunk and overlapping tiers of branches, each tier a
// star of drooping branches with snow along their upper ridges.
struct ConiferShape {
    const char* fileName;
    float height;
    float trunkRadius;
    float crownBase;  // height of the lowest branch tips
    int tiers;
    float baseRadius;  // reach of the lowest tier
    int branches;      // per tier
    float droop;       // how far tips hang below the tier's foot, in tier heights
    std::uint64_t seed;
};

// tree1 stands at scales 20-32, tree2 at 10-16, tree3 at 4-7: these heights make
// every instance 10-20 units tall in the scene.
const ConiferShape shapes[] = {
    {"tree1.obj", 0.58f, 0.02f, 0.07f, 5, 0.23f, 8, 0.25f, 11},  // broad young fir
    {"tree2.obj", 1.1f, 0.028f, 0.1f, 8, 0.3f, 9, 0.3f, 12},     // slender spruce
    {"tree3.obj", 2.65f, 0.07f, 0.75f, 6, 0.62f, 7, 0.2f, 13},   // old pine, bare below
};

glm::vec3 radial(float angle) {
    return {std::cos(angle), 0.0f, std::sin(angle)};
}

void addTier(Mesh& mesh, float bottom, float top, float reach, const ConiferShape& shape, Random& rng) {
    MeshPart& upper = mesh.part("tree_needles_snow");
    MeshPart& under = mesh.part("tree_needles");
    const float tierHeight = top - bottom;
    const int n = shape.branches;
    const float twist = rng.range(0.0f, 2.0f * pi);
    std::vector<float> tipAngle(n);
    std::vector<float> tipReach(n);
    for (int k = 0; k < n; ++k) {
        tipAngle[k] = twist + 2.0f * pi * (k + rng.range(-0.15f, 0.15f)) / n;
        tipReach[k] = reach * rng.range(0.85f, 1.1f);
    }
    const glm::vec3 apex(0.0f, top, 0.0f);
    const float tipY = bottom - shape.droop * tierHeight;
    for (int k = 0; k < n; ++k) {
        const float next = k + 1 < n ? tipAngle[k + 1] : tipAngle[0] + 2.0f * pi;
        const float prev = k > 0 ? tipAngle[k - 1] : tipAngle[n - 1] - 2.0f * pi;
        const float valleyBefore = 0.5f * (prev + tipAngle[k]);
        const float valleyAfter = 0.5f * (tipAngle[k] + next);
        // Three columns across the branch (valley, tip, valley) and three rows
        // from the apex out: the middle row bulges upward like a loaded bough.
        const float columns[3] = {valleyBefore, tipAngle[k], valleyAfter};
        const float columnReach[3] = {0.62f * tipReach[k], tipReach[k], 0.62f * tipReach[k]};
        const float columnY[3] = {bottom + 0.15f * tierHeight, tipY, bottom + 0.15f * tierHeight};
        const std::size_t firstVertex = upper.vertices.size();
        const std::size_t firstIndex = upper.indices.size();
        const std::uint32_t base = static_cast<std::uint32_t>(firstVertex);
        for (int row = 0; row < 3; ++row) {
            const float f = row * 0.5f;
            for (int c = 0; c < 3; ++c) {
                const glm::vec3 outer = radial(columns[c]) * columnReach[c] + glm::vec3(0, columnY[c], 0);
                glm::vec3 p = glm::mix(apex, outer, f);
                if (row == 1) p.y += 0.12f * tierHeight;
                upper.add({p, glm::vec3(0, 1, 0), {c * 0.5f, 1.0f - f}});
            }
        }
        for (std::uint32_t row = 0; row < 2; ++row) {
            for (std::uint32_t c = 0; c < 2; ++c) {
                const std::uint32_t a = base + row * 3 + c;
                const std::uint32_t b = a + 1;
                const std::uint32_t d = a + 3;
                const std::uint32_t e = d + 1;
                // Skip the sliver at the apex where the first row collapses.
                if (row > 0) upper.triangle(a, b, d);
                upper.triangle(b, e, d);
            }
        }
        smoothNormals(upper, firstVertex, firstIndex);

        // The underside, from the branch edge in to the trunk.
        const glm::vec3 inner(0.0f, bottom + 0.35f * tierHeight, 0.0f);
        const glm::vec3 down(0, -1, 0);
        for (int c = 0; c < 2; ++c) {
            const glm::vec3 a = radial(columns[c]) * columnReach[c] + glm::vec3(0, columnY[c], 0);
            const glm::vec3 b = radial(columns[c + 1]) * columnReach[c + 1] + glm::vec3(0, columnY[c + 1], 0);
            const glm::vec3 n = glm::normalize(glm::vec3(0, -1, 0) + radial(columns[c]) * 0.3f);
            addFacing(under, {a, n, {c * 0.5f, 0.0f}}, {b, n, {c * 0.5f + 0.5f, 0.0f}}, {inner, n, {0.5f, 1.0f}}, down);
        }
    }
}

void addConifer(Mesh& mesh, const ConiferShape& shape) {
    Random rng(shape.seed);
    // The trunk tapers to a point inside the top tier.
    const float r = shape.trunkRadius;
    addLathe(
        mesh.part("tree_bark"),
        {{r * 1.3f, 0.0f}, {r, shape.height * 0.08f}, {r * 0.6f, shape.height * 0.6f}, {0.0f, shape.height * 0.9f}}, 7,
        1.0f, shape.height * 0.25f);

    const float crown = shape.height - shape.crownBase;
    const float tierHeight = crown / shape.tiers * 1.8f;  // tiers overlap
    for (int i = 0; i < shape.tiers; ++i) {
        const float f = static_cast<float>(i) / shape.tiers;
        const float bottom = shape.crownBase + crown * f + shape.droop * tierHeight;
        const float top = std::min(bottom + tierHeight, shape.height);
        const float reach = shape.baseRadius * (1.0f - 0.85f * f) * rng.range(0.9f, 1.05f);
        addTier(mesh, bottom, top, reach, shape, rng);
    }
}

}  // namespace

void writeTrees(const std::filesystem::path& modelsDir) {
    const std::filesystem::path dir = modelsDir / "trees";
    // The three kinds share their bark and needles.
    writeSurface(dir, "tree_bark", paintBark(256, glm::vec3(0.3f, 0.22f, 0.16f), 21), 5.0f);
    writeSurface(dir, "tree_needles_snow", paintNeedles(256, 1.0f, 22), 4.0f);
    writeSurface(dir, "tree_needles", paintNeedles(256, 0.0f, 23), 4.0f);
    // clang-format off
    const std::vector<Material> materials = {
        {"tree_bark", {0.8f, 0.8f, 0.8f}, {0.02f, 0.02f, 0.02f}, 4.0f, 1.0f, {}, "tree_bark.png", "", "tree_bark_normal.png"},
        {"tree_needles_snow", {0.85f, 0.85f, 0.85f}, {0.1f, 0.1f, 0.1f}, 12.0f, 1.0f, {}, "tree_needles_snow.png", "",
         "tree_needles_snow_normal.png"},
        {"tree_needles", {0.8f, 0.8f, 0.8f}, {0.02f, 0.02f, 0.02f}, 4.0f, 1.0f, {}, "tree_needles.png", "", "tree_needles_normal.png"},
    };
    // clang-format on
    for (const ConiferShape& shape : shapes) {
        Mesh mesh;
        addConifer(mesh, shape);
        mesh.centreFootprint();
        writeObj(dir, shape.fileName, std::string(shape.fileName, std::string(shape.fileName).size() - 4) + ".mtl",
                 mesh, materials);
    }
}

}  // namespace nox::studio
