#pragma once

#include <array>

#include "shaders/Shader.h"

namespace nox::water {

// The lake surface: mixes the reflection and refraction images through a
// scrolling distortion, with glints from the two lamps.
class WaterShader : public main::Shader {
public:
    static constexpr int lightCount = 2;

    // Texture units of the five samplers, fixed when the program is built.
    static constexpr GLint reflectionUnit = 0;
    static constexpr GLint refractionUnit = 1;
    static constexpr GLint distortionUnit = 2;
    static constexpr GLint normalMapUnit = 3;
    static constexpr GLint depthMapUnit = 4;

    WaterShader();

    GLint modelMatrix = -1;
    GLint viewMatrix = -1;
    GLint projectionMatrix = -1;
    GLint reflectionTexture = -1;
    GLint refractionTexture = -1;
    GLint dudvMap = -1;
    GLint moveFactor = -1;
    GLint cameraPosition = -1;
    GLint normalMap = -1;
    std::array<GLint, lightCount> lightPosition{};
    std::array<GLint, lightCount> lightColour{};
    GLint depthMap = -1;

protected:
    void bindAttributes() override;
    void getAllUniformLocations() override;
};

WaterShader& getWaterShader();

}  // namespace nox::water
