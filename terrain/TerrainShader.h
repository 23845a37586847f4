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

// A plane that keeps every point.
inline const glm::vec4 keepEverything(0.0f, 0.0f, 0.0f, 1.0f);

// Draws the terrain with the first two lights, through the TerrainShader that
// the caller has made current with `clipPlane` loaded. Only the chunks inside
// the camera's view and on the plane's kept side are drawn, and of those only
// the ones inside `region` (a ScreenRegion's culling matrix) when the pass
// draws only part of its target; each at the level of detail its distance
// allows. Drawn two-sided unless `backFacesHidden`, which the caller may ask
// for where no face turned away from the camera can be seen. Leaves
// back-face culling on.
void renderTerrain(const Terrain& terrain, const std::vector<Light>& lights,
                   const glm::vec4& clipPlane = keepEverything, const glm::mat4& region = glm::mat4(1.0f),
                   bool backFacesHidden = false);

}  // namespace nox::terrain
