#include "Mesh.h"

#include <cmath>

#include "Noise.h"

namespace nox::studio {

namespace {
constexpr float pi = 3.14159265f;
}  // namespace

std::uint32_t MeshPart::add(const Vertex& v) {
    vertices.push_back(v);
    return static_cast<std::uint32_t>(vertices.size() - 1);
}

void MeshPart::triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    indices.insert(indices.end(), {a, b, c});
}

MeshPart& Mesh::part(const std::string& material) {
    for (MeshPart& p : all) {
        if (p.material == material) return p;
    }
    all.push_back(MeshPart{material, {}, {}});
    return all.back();
}

void Mesh::append(const Mesh& other, const glm::mat4& transform) {
    for (const MeshPart& source : other.parts()) {
        MeshPart& target = part(source.material);
        const std::size_t first = target.vertices.size();
        target.vertices.insert(target.vertices.end(), source.vertices.begin(), source.vertices.end());
        for (std::uint32_t index : source.indices) target.indices.push_back(index + static_cast<std::uint32_t>(first));
        transformVertices(target, first, transform);
    }
}

void Mesh::centreFootprint() {
    glm::vec3 low(1e9f);
    glm::vec3 high(-1e9f);
    for (const MeshPart& p : all) {
        for (const Vertex& v : p.vertices) {
            low = glm::min(low, v.position);
            high = glm::max(high, v.position);
        }
    }
    const glm::vec3 shift(-(low.x + high.x) * 0.5f, 0.0f, -(low.z + high.z) * 0.5f);
    for (MeshPart& p : all) {
        for (Vertex& v : p.vertices) v.position += shift;
    }
}

void addFacing(MeshPart& part, const Vertex& a, Vertex b, Vertex c, glm::vec3 outside) {
    const glm::vec3 n = glm::cross(b.position - a.position, c.position - a.position);
    if (glm::dot(n, outside) < 0.0f) std::swap(b, c);
    const std::uint32_t ia = part.add(a);
    const std::uint32_t ib = part.add(b);
    const std::uint32_t ic = part.add(c);
    part.triangle(ia, ib, ic);
}

void smoothNormals(MeshPart& part, std::size_t first, std::size_t firstIndex) {
    for (std::size_t i = first; i < part.vertices.size(); ++i) part.vertices[i].normal = glm::vec3(0.0f);
    for (std::size_t i = firstIndex; i + 2 < part.indices.size(); i += 3) {
        Vertex& a = part.vertices[part.indices[i]];
        Vertex& b = part.vertices[part.indices[i + 1]];
        Vertex& c = part.vertices[part.indices[i + 2]];
        const glm::vec3 n = glm::cross(b.position - a.position, c.position - a.position);
        a.normal += n;
        b.normal += n;
        c.normal += n;
    }
    for (std::size_t i = first; i < part.vertices.size(); ++i) {
        glm::vec3& n = part.vertices[i].normal;
        n = glm::length(n) > 0.0f ? glm::normalize(n) : glm::vec3(0, 1, 0);
    }
}

namespace {
// Rotation and translation taking +Y to the direction from -> to, placed at from.
glm::mat4 alongSegment(glm::vec3 from, glm::vec3 to) {
    const glm::vec3 axis = glm::normalize(to - from);
    const glm::vec3 helper = std::abs(axis.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    const glm::vec3 side = glm::normalize(glm::cross(helper, axis));
    const glm::vec3 third = glm::cross(side, axis);
    return glm::mat4(glm::vec4(side, 0), glm::vec4(axis, 0), glm::vec4(third, 0), glm::vec4(from, 1));
}
}  // namespace

void addBeam(MeshPart& part, glm::vec3 from, glm::vec3 to, float halfThickness, float repeatSize) {
    const std::size_t first = part.vertices.size();
    const float length = glm::length(to - from);
    addBox(part, glm::vec3(-halfThickness, 0.0f, -halfThickness), glm::vec3(halfThickness, length, halfThickness),
           repeatSize);
    transformVertices(part, first, alongSegment(from, to));
}

void addLog(MeshPart& bark, MeshPart& ends, glm::vec3 from, glm::vec3 to, float radius) {
    constexpr int sides = 8;
    const float length = glm::length(to - from);
    const glm::mat4 placement = alongSegment(from, to);
    const std::size_t firstBark = bark.vertices.size();
    addLathe(bark, {{radius, 0.0f}, {radius, length}}, sides, 2.0f, 0.5f);
    transformVertices(bark, firstBark, placement);
    const std::size_t firstEnd = ends.vertices.size();
    addLathe(ends, {{0.0f, 0.0f}, {radius, 0.0f}}, sides, 1.0f, 1.0f);
    addLathe(ends, {{radius, length}, {0.0f, length}}, sides, 1.0f, 1.0f);
    // The end grain is mapped flat across each disc.
    for (std::size_t i = firstEnd; i < ends.vertices.size(); ++i) {
        const glm::vec3 p = ends.vertices[i].position;
        ends.vertices[i].uv = glm::vec2(p.x, p.z) / (2.0f * radius) + 0.5f;
    }
    transformVertices(ends, firstEnd, placement);
}

void transformVertices(MeshPart& part, std::size_t first, const glm::mat4& transform) {
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(transform)));
    for (std::size_t i = first; i < part.vertices.size(); ++i) {
        Vertex& v = part.vertices[i];
        v.position = glm::vec3(transform * glm::vec4(v.position, 1.0f));
        v.normal = glm::normalize(normalMatrix * v.normal);
    }
}

void addQuad(MeshPart& part, const glm::vec3 p[4], const glm::vec2 uv[4]) {
    const glm::vec3 n = glm::normalize(glm::cross(p[1] - p[0], p[3] - p[0]));
    std::uint32_t k[4];
    for (int i = 0; i < 4; ++i) k[i] = part.add({p[i], n, uv[i]});
    part.triangle(k[0], k[1], k[2]);
    part.triangle(k[0], k[2], k[3]);
}

void addBox(MeshPart& part, glm::vec3 low, glm::vec3 high, float repeatSize) {
    // Each face: its normal axis, the two in-plane axes (right, up) and side.
    struct Face {
        int axis;
        int right;
        int up;
        float side;
    };
    static const Face faces[] = {{0, 2, 1, 1}, {0, 2, 1, -1}, {1, 0, 2, 1}, {1, 0, 2, -1}, {2, 0, 1, 1}, {2, 0, 1, -1}};
    for (const Face& f : faces) {
        glm::vec3 p[4];
        glm::vec2 uv[4];
        const float along[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i = 0; i < 4; ++i) {
            glm::vec3 q;
            q[f.axis] = f.side > 0 ? high[f.axis] : low[f.axis];
            q[f.right] = glm::mix(low[f.right], high[f.right], along[i][0]);
            q[f.up] = glm::mix(low[f.up], high[f.up], along[i][1]);
            p[i] = q;
            uv[i] = glm::vec2(q[f.right], q[f.up]) / repeatSize;
        }
        // Keep the winding counter-clockwise seen from outside.
        const glm::vec3 n = glm::cross(p[1] - p[0], p[3] - p[0]);
        if (n[f.axis] * f.side < 0) {
            std::swap(p[1], p[3]);
            std::swap(uv[1], uv[3]);
        }
        addQuad(part, p, uv);
    }
}

void addLathe(MeshPart& part, const std::vector<glm::vec2>& profile, int segments, float uRepeats, float vRepeatSize) {
    const std::size_t n = profile.size();
    std::vector<float> v(n, 0.0f);
    for (std::size_t i = 1; i < n; ++i) v[i] = v[i - 1] + glm::length(profile[i] - profile[i - 1]) / vRepeatSize;
    const std::uint32_t first = static_cast<std::uint32_t>(part.vertices.size());
    for (std::size_t i = 0; i < n; ++i) {
        // Profile tangent from the neighbours; the outward normal is
        // perpendicular to it in the (radius, height) plane.
        const glm::vec2 t = profile[std::min(i + 1, n - 1)] - profile[i == 0 ? 0 : i - 1];
        const glm::vec2 pn = glm::normalize(glm::vec2(t.y, -t.x));
        for (int s = 0; s <= segments; ++s) {
            const float a = 2.0f * pi * static_cast<float>(s) / segments;
            const glm::vec3 radial(std::cos(a), 0.0f, -std::sin(a));
            part.add({radial * profile[i].x + glm::vec3(0, profile[i].y, 0),
                      glm::normalize(radial * pn.x + glm::vec3(0, pn.y, 0)),
                      {uRepeats * static_cast<float>(s) / segments, v[i]}});
        }
    }
    const std::uint32_t ring = static_cast<std::uint32_t>(segments + 1);
    for (std::uint32_t i = 0; i + 1 < n; ++i) {
        for (std::uint32_t s = 0; s < static_cast<std::uint32_t>(segments); ++s) {
            const std::uint32_t a = first + i * ring + s;
            const std::uint32_t b = a + 1;
            const std::uint32_t c = a + ring;
            const std::uint32_t d = c + 1;
            part.triangle(a, b, d);
            part.triangle(a, d, c);
        }
    }
}

void addRock(MeshPart& part, glm::vec3 centre, glm::vec3 radii, std::uint32_t seed) {
    constexpr int rings = 5;
    constexpr int segments = 8;
    std::vector<glm::vec3> points;
    for (int r = 0; r <= rings; ++r) {
        const float lat = pi * (static_cast<float>(r) / rings - 0.5f);
        for (int s = 0; s < segments; ++s) {
            const float lon = 2.0f * pi * s / segments + (r % 2) * pi / segments;
            const glm::vec3 d(std::cos(lat) * std::cos(lon), std::sin(lat), std::cos(lat) * std::sin(lon));
            const float bump = 1.0f + 0.22f * noise3(d * 1.7f + glm::vec3(static_cast<float>(seed)), seed);
            glm::vec3 p = centre + d * radii * bump;
            p.y = std::max(p.y, centre.y - radii.y * 0.6f);  // flat underside, sitting in the ground
            points.push_back(p);
        }
    }
    // Flat faces: every triangle gets its own three vertices.
    auto face = [&](glm::vec3 a, glm::vec3 b, glm::vec3 c) {
        const glm::vec3 cross = glm::cross(b - a, c - a);
        if (glm::length(cross) < 1e-7f) return;  // collapsed at a pole
        const glm::vec3 n = glm::normalize(cross);
        const glm::vec3 axisU =
            std::abs(n.y) > 0.7f ? glm::vec3(1, 0, 0) : glm::normalize(glm::cross(glm::vec3(0, 1, 0), n));
        const glm::vec3 axisV = glm::cross(n, axisU);
        auto uv = [&](glm::vec3 p) { return glm::vec2(glm::dot(p, axisU), glm::dot(p, axisV)) * 2.0f; };
        const std::uint32_t ia = part.add({a, n, uv(a)});
        const std::uint32_t ib = part.add({b, n, uv(b)});
        const std::uint32_t ic = part.add({c, n, uv(c)});
        part.triangle(ia, ib, ic);
    };
    auto at = [&](int r, int s) {
        return points[static_cast<std::size_t>(r) * segments + ((s % segments) + segments) % segments];
    };
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            // Neighbouring rings are offset by half a segment: a triangle strip.
            const int shift = r % 2;
            face(at(r, s), at(r + 1, s - 1 + shift), at(r + 1, s + shift));
            face(at(r, s), at(r + 1, s + shift), at(r, s + 1));
        }
    }
}

}  // namespace nox::studio
