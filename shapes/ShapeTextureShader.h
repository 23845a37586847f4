#pragma once

#include "shaders/Shader.h"

namespace nox::shapes {

// Draws textured quads: the sky faces and the moon. "outColorScale" scales what
// reaches the picture, "lightColorScale" what feeds the god rays.
class ShapeTextureShader : public main::Shader {
public:
    ShapeTextureShader();

    // Sets "viewMatrix" from the camera; the program must be in use.
    void loadViewMatrix();

    GLint transformationMatrix = -1;
    GLint viewMatrix = -1;
    GLint projectionMatrix = -1;
    GLint outColorScale = -1;
    GLint lightColorScale = -1;
    GLint colorTex = -1;

protected:
    void bindAttributes() override;
    void getAllUniformLocations() override;
};

ShapeTextureShader& getShapeTextureShader();

}  // namespace nox::shapes
