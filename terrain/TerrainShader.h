#pragma once

#include <array>
#include <vector>

#include "shaders/Shader.h"
#include "terrain/Light.h"
#include "terrain/Terrain.h"

namespace nox::terrain {

// Lights the snow with the moon and the two point lights.
class TerrainShader : public main::Shader {
public:
    static constexpr int lightCount = 2;

    TerrainShader();

    GLint modelMatrix = -1;
    GLint viewMatrix = -1;
    GLint projectionMatrix = -1;
    GLint clipPlane = -1;
    GLint textureTiling = -1;
    std::array<GLint, lightCount> lightPosition{};
    std::array<GLint, lightCount> lightColor{};
    std::array<GLint, lightCount> lightAttenuation{};

protected:
    void bindAttributes() override;
    void getAllUniformLocations() override;
};

TerrainShader& getTerrainShader();

// Draws the terrain two-sided with the first two lights, through the
// TerrainShader that the caller has made current. Leaves back-face culling on.
void renderTerrain(const Terrain& terrain, const std::vector<Light>& lights);

}  // namespace nox::terrain
