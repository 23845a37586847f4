#pragma once

#include <array>

#include "assets/ModelInstance.h"
#include "shaders/Shader.h"

namespace nox::assimp {

// Lit, textured models: diffuse, specular and normal maps, the moon and the
// two point lights.
class AssimpShader : public main::Shader {
public:
    static constexpr int lightCount = 2;

    AssimpShader();

    // Sets "viewMatrix" from the camera; the program must be in use.
    void loadViewMatrix();

    GLint transformationMatrix = -1;
    GLint viewMatrix = -1;
    GLint projectionMatrix = -1;
    GLint textureDiffuse = -1;
    GLint textureSpecular = -1;
    GLint textureNormal = -1;
    GLint transparency = -1;
    std::array<GLint, lightCount> lightPosition{};
    std::array<GLint, lightCount> lightColor{};
    std::array<GLint, lightCount> attenuation{};
    GLint shininess = -1;
    GLint shininessStrength = -1;
    GLint clipPlane = -1;

protected:
    void bindAttributes() override;
    void getAllUniformLocations() override;
};

AssimpShader& getAssimpShader();

// Draws every mesh of the instance through the AssimpShader, which the caller
// has made current with its view matrix, lights and clip plane set. Texture i
// of a mesh goes to unit i; a height map takes its unit but is not used. A mesh
// without a diffuse, specular or normal map gets a neutral one on the next free unit.
// Leaves depth testing on and culling as the instance needs it.
void renderModel(const ModelInstance& instance);

}  // namespace nox::assimp
