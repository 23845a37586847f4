#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "Mesh.h"

namespace nox::studio {

// One MTL material. Texture names are relative to the model's directory and
// never contain blanks; an empty name leaves that map out.
struct Material {
    std::string name;
    glm::vec3 diffuse{0.8f};
    glm::vec3 specular{0.05f};
    float shininess = 10.0f;
    float dissolve = 1.0f;
    glm::vec3 emissive{0.0f};
    std::string diffuseMap;
    std::string specularMap;
    std::string normalMap;  // written as map_bump, which importers hand over as a height map
};

// Writes dir/objName (e.g. "street light.obj") and dir/mtlName beside it.
// Numbers are printed with fixed precision, so the files are reproducible.
void writeObj(const std::filesystem::path& dir, const std::string& objName, const std::string& mtlName,
              const Mesh& mesh, const std::vector<Material>& materials);

}  // namespace nox::studio
