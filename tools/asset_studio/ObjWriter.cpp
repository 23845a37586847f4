#include "ObjWriter.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace nox::studio {

namespace {

std::string format(const char* pattern, float a, float b, float c) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
    return buffer;
}

std::string vec3Line(const char* key, glm::vec3 v) {
    return key + format(" %.4f %.4f %.4f\n", v.x, v.y, v.z);
}

void writeMtl(const std::filesystem::path& path, const std::vector<Material>& materials) {
    std::ofstream out(path, std::ios::binary);
    for (const Material& m : materials) {
        out << "newmtl " << m.name << "\n";
        out << vec3Line("Ka", m.diffuse * 0.1f);
        out << vec3Line("Kd", m.diffuse);
        out << vec3Line("Ks", m.specular);
        out << format("Ns %.1f\n", m.shininess, 0, 0);
        if (m.emissive != glm::vec3(0.0f)) out << vec3Line("Ke", m.emissive);
        out << format("d %.2f\n", m.dissolve, 0, 0);
        out << "illum 2\n";
        if (!m.diffuseMap.empty()) out << "map_Kd " << m.diffuseMap << "\n";
        if (!m.specularMap.empty()) out << "map_Ks " << m.specularMap << "\n";
        if (!m.normalMap.empty()) out << "map_bump " << m.normalMap << "\n";
        out << "\n";
    }
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

void writeObj(const std::filesystem::path& dir, const std::string& objName, const std::string& mtlName,
              const Mesh& mesh, const std::vector<Material>& materials) {
    std::filesystem::create_directories(dir);
    writeMtl(dir / mtlName, materials);

    std::ofstream out(dir / objName, std::ios::binary);
    out << "mtllib " << mtlName << "\n";
    std::size_t base = 1;  // OBJ indices start at 1 and run across the file
    for (const MeshPart& part : mesh.parts()) {
        out << "o " << part.material << "\n";
        for (const Vertex& v : part.vertices)
            out << format("v %.5f %.5f %.5f\n", v.position.x, v.position.y, v.position.z);
        for (const Vertex& v : part.vertices) out << format("vt %.5f %.5f\n", v.uv.x, v.uv.y, 0);
        for (const Vertex& v : part.vertices) out << format("vn %.4f %.4f %.4f\n", v.normal.x, v.normal.y, v.normal.z);
        out << "usemtl " << part.material << "\n";
        for (std::size_t i = 0; i < part.indices.size(); i += 3) {
            out << "f";
            for (int k = 0; k < 3; ++k) {
                const std::size_t index = base + part.indices[i + k];
                out << " " << index << "/" << index << "/" << index;
            }
            out << "\n";
        }
        base += part.vertices.size();
    }
    if (!out) throw std::runtime_error("cannot write " + (dir / objName).string());
}

}  // namespace nox::studio
