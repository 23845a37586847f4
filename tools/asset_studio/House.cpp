#include "House.h"

#include <cmath>

namespace nox::studio {

namespace {

constexpr float foundationHeight = 0.5f;
constexpr float stoneRepeat = 2.0f;
constexpr float roofBoard = 0.2f;  // thickness of the roof boards
constexpr float snowDepth = 0.35f;
constexpr float proud = 0.05f;  // windows and doors stand off the wall

void wallQuad(MeshPart& part, glm::vec3 a, glm::vec3 b, float bottom, float top, glm::vec3 outward, float wallRepeat) {
    const glm::vec3 p[4] = {{a.x, bottom, a.z}, {b.x, bottom, b.z}, {b.x, top, b.z}, {a.x, top, a.z}};
    const float along = glm::length(b - a) / wallRepeat;
    const glm::vec2 uv[4] = {
        {0, bottom / wallRepeat}, {along, bottom / wallRepeat}, {along, top / wallRepeat}, {0, top / wallRepeat}};
    const std::uint32_t first = static_cast<std::uint32_t>(part.vertices.size());
    addQuad(part, p, uv);
    const glm::vec3 n = part.vertices[first].normal;
    if (glm::dot(n, outward) < 0.0f) {
        // Reverse the two triangles just added.
        std::swap(part.indices[part.indices.size() - 1], part.indices[part.indices.size() - 2]);
        std::swap(part.indices[part.indices.size() - 4], part.indices[part.indices.size() - 5]);
        for (std::uint32_t i = first; i < first + 4; ++i) part.vertices[i].normal = -n;
    }
}

// A flat rectangle on a wall (window or door) centred at `centre`, facing `outward`.
void addPanel(MeshPart& part, glm::vec3 centre, glm::vec3 outward, glm::vec2 size) {
    const glm::vec3 across = glm::normalize(glm::cross(glm::vec3(0, 1, 0), outward));
    const glm::vec3 c = centre + outward * proud;
    const glm::vec3 p[4] = {c - across * size.x * 0.5f - glm::vec3(0, size.y * 0.5f, 0),
                            c + across * size.x * 0.5f - glm::vec3(0, size.y * 0.5f, 0),
                            c + across * size.x * 0.5f + glm::vec3(0, size.y * 0.5f, 0),
                            c - across * size.x * 0.5f + glm::vec3(0, size.y * 0.5f, 0)};
    const glm::vec2 uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    addQuad(part, p, uv);
}

// A window with its sill, on the wall whose outward normal is `outward`.
void addWindow(Mesh& mesh, glm::vec3 centre, glm::vec3 outward, glm::vec2 size, const HouseMaterials& m) {
    addPanel(mesh.part(m.window), centre, outward, size);
    const glm::vec3 across = glm::normalize(glm::cross(glm::vec3(0, 1, 0), outward));
    const glm::vec3 sill = centre - glm::vec3(0, size.y * 0.5f + 0.06f, 0) + outward * 0.12f;
    const glm::vec3 half =
        glm::abs(across) * (size.x * 0.5f + 0.12f) + glm::abs(outward) * 0.12f + glm::vec3(0, 0.06f, 0);
    addBox(mesh.part(m.trim), sill - half, sill + half, 1.0f);
    // A little snow on the sill.
    addBox(mesh.part(m.snow), sill - half * glm::vec3(0.95f, 0, 0.95f) + glm::vec3(0, 0.06f, 0),
           sill + half * glm::vec3(0.95f, 0, 0.95f) + glm::vec3(0, 0.14f, 0), 1.0f);
}

}  // namespace

void addHouseBlock(Mesh& mesh, const HouseBlock& b, const HouseMaterials& m) {
    const float hx = b.length * 0.5f;
    const float hz = b.width * 0.5f;
    addBox(mesh.part(m.foundation), glm::vec3(-hx - 0.1f, 0.0f, -hz - 0.1f),
           glm::vec3(hx + 0.1f, foundationHeight, hz + 0.1f), stoneRepeat);

    MeshPart& wall = mesh.part(m.wall);
    const float bottom = foundationHeight;
    const float eaves = b.wallHeight;
    wallQuad(wall, {-hx, 0, hz}, {hx, 0, hz}, bottom, eaves, {0, 0, 1}, b.wallRepeat);
    wallQuad(wall, {hx, 0, -hz}, {-hx, 0, -hz}, bottom, eaves, {0, 0, -1}, b.wallRepeat);
    wallQuad(wall, {hx, 0, hz}, {hx, 0, -hz}, bottom, eaves, {1, 0, 0}, b.wallRepeat);
    wallQuad(wall, {-hx, 0, -hz}, {-hx, 0, hz}, bottom, eaves, {-1, 0, 0}, b.wallRepeat);
    // Gable triangles under the roof.
    for (float side : {-1.0f, 1.0f}) {
        const glm::vec3 outward(side, 0, 0);
        const glm::vec3 a(side * hx, eaves, -hz);
        const glm::vec3 c(side * hx, eaves, hz);
        const glm::vec3 top(side * hx, eaves + b.roofRise, 0);
        auto uv = [&](glm::vec3 p) { return glm::vec2(p.z, p.y) / b.wallRepeat; };
        addFacing(wall, {a, outward, uv(a)}, {c, outward, uv(c)}, {top, outward, uv(top)}, outward);
    }

    // Roof: a board slab and a snow slab on each slope, built flat and tilted.
    const float slope = std::atan2(b.roofRise, hz);
    const float run = (hz + b.overhang) / std::cos(slope);
    for (float side : {-1.0f, 1.0f}) {
        glm::mat4 tilt(1.0f);
        // Local x along the ridge, local z down the slope, local y out of the roof.
        const glm::vec3 downSlope(0.0f, -std::sin(slope), side * std::cos(slope));
        const glm::vec3 outOfRoof(0.0f, std::cos(slope), side * std::sin(slope));
        const glm::vec3 ridge(0.0f, eaves + b.roofRise + roofBoard * 0.5f, 0.0f);
        tilt[0] = glm::vec4(side, 0, 0, 0);  // keeps the frame right-handed on both slopes
        tilt[1] = glm::vec4(outOfRoof, 0);
        tilt[2] = glm::vec4(downSlope, 0);
        tilt[3] = glm::vec4(ridge, 1);
        MeshPart& boards = mesh.part(m.roofEdge);
        std::size_t first = boards.vertices.size();
        addBox(boards, glm::vec3(-hx - b.overhang, -roofBoard, 0.0f), glm::vec3(hx + b.overhang, 0.0f, run), 2.0f);
        transformVertices(boards, first, tilt);
        MeshPart& snow = mesh.part(m.snow);
        first = snow.vertices.size();
        addBox(snow, glm::vec3(-hx - b.overhang + 0.05f, 0.0f, -0.02f),
               glm::vec3(hx + b.overhang - 0.05f, snowDepth, run - 0.05f), 3.0f);
        transformVertices(snow, first, tilt);
    }

    for (const glm::vec2& w : b.frontWindows) {
        addWindow(mesh, {w.x, w.y + b.windowSize.y * 0.5f, hz}, {0, 0, 1}, b.windowSize, m);
    }
    for (const glm::vec2& w : b.backWindows) {
        addWindow(mesh, {w.x, w.y + b.windowSize.y * 0.5f, -hz}, {0, 0, -1}, b.windowSize, m);
    }
    for (const glm::vec2& w : b.gableWindows) {
        for (float side : {-1.0f, 1.0f})
            addWindow(mesh, {side * hx, w.y + b.windowSize.y * 0.5f, w.x}, {side, 0, 0}, b.windowSize, m);
    }
    const glm::vec2 door = b.doorSize;
    addPanel(mesh.part(m.door), {b.doorX, foundationHeight + door.y * 0.5f, hz}, {0, 0, 1}, door);
    // A step in front of the door.
    addBox(mesh.part(m.foundation), glm::vec3(b.doorX - 0.8f, 0.0f, hz),
           glm::vec3(b.doorX + 0.8f, foundationHeight * 0.6f, hz + 0.6f), stoneRepeat);
}

void addChimney(Mesh& mesh, glm::vec3 base, float top, float halfSize, const HouseMaterials& m) {
    addBox(mesh.part(m.foundation), glm::vec3(base.x - halfSize, base.y, base.z - halfSize),
           glm::vec3(base.x + halfSize, top, base.z + halfSize), stoneRepeat);
    addBox(mesh.part(m.snow), glm::vec3(base.x - halfSize + 0.05f, top, base.z - halfSize + 0.05f),
           glm::vec3(base.x + halfSize - 0.05f, top + 0.15f, base.z + halfSize - 0.05f), 1.0f);
}

}  // namespace nox::studio
