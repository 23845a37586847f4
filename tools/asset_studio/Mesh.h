#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <glm/glm.hpp>

namespace nox::studio {

struct Vertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 uv;  // OBJ convention: v = 1 is the top row of the image
};

// The triangles of one material. Triangles wind counter-clockwise seen from
// outside, so back-face culling keeps the visible side.
struct MeshPart {
    std::string material;
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;

    std::uint32_t add(const Vertex& v);
    void triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
};

// A whole model: one part per material, kept in the order first used. Parts
// live in a deque, so a reference to one stays valid while others are added.
class Mesh {
public:
    MeshPart& part(const std::string& material);
    const std::deque<MeshPart>& parts() const { return all; }

    // Adds every part of another mesh, transformed, to the parts of the same
    // material here.
    void append(const Mesh& other, const glm::mat4& transform);

    // Moves the mesh in x and z so that its footprint is centred on the origin.
    void centreFootprint();

private:
    std::deque<MeshPart> all;
};

// Applies a transform to the vertices from index `first` on; normals follow by
// the inverse transpose, so non-uniform scales keep them perpendicular.
void transformVertices(MeshPart& part, std::size_t first, const glm::mat4& transform);

// A triangle whose winding is chosen so that its front faces along `outside`.
void addFacing(MeshPart& part, const Vertex& a, Vertex b, Vertex c, glm::vec3 outside);

// Replaces the normals of the vertices from `first` on by the area-weighted
// average of the triangles (from index `firstIndex` on) that use them.
void smoothNormals(MeshPart& part, std::size_t first, std::size_t firstIndex);

// A box of square section between two points, its long axis along to - from.
void addBeam(MeshPart& part, glm::vec3 from, glm::vec3 to, float halfThickness, float repeatSize);

// A round log between two points: bark sides and two sawn ends in another part.
void addLog(MeshPart& bark, MeshPart& ends, glm::vec3 from, glm::vec3 to, float radius);

// A flat quad p0 p1 p2 p3 (counter-clockwise from the front) with its UVs.
void addQuad(MeshPart& part, const glm::vec3 p[4], const glm::vec2 uv[4]);

// An axis-aligned box with flat faces; texture coordinates are the face's own
// coordinates divided by texelSize (world units per texture repeat), so
// textures keep one scale over boxes of any size.
void addBox(MeshPart& part, glm::vec3 low, glm::vec3 high, float repeatSize);

// A surface of revolution about +Y through the profile points (radius, height),
// listed bottom to top, with smooth normals. u runs once around per uRepeats,
// v follows the profile's length divided by vRepeatSize.
void addLathe(MeshPart& part, const std::vector<glm::vec2>& profile, int segments, float uRepeats, float vRepeatSize);

// A low, flat-shaded boulder: a squashed, noise-displaced sphere.
void addRock(MeshPart& part, glm::vec3 centre, glm::vec3 radii, std::uint32_t seed);

}  // namespace nox::studio
