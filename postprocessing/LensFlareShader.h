#pragma once

#include "shaders/Shader.h"

namespace nox::lensflares {

// Draws one flare sprite: the unit quad placed by "transform" in screen
// coordinates from the top-left corner (0 to 1 across and down), its texture
// scaled by "brightness". "aspectRatio" (the window's width over its height,
// set once) keeps the sprites round on a wide window.
class LensFlareShader : public main::Shader {
public:
    static constexpr GLint flareUnit = 0;

    LensFlareShader();

    GLint brightness = -1;
    GLint transform = -1;
    GLint flareTexture = -1;
    GLint aspectRatio = -1;

protected:
    void bindAttributes() override;
    void getAllUniformLocations() override;
};

LensFlareShader& getLensFlareShader();

}  // namespace nox::lensflares
