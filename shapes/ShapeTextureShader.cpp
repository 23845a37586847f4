#include "shapes/ShapeTextureShader.h"

#include <glm/gtc/type_ptr.hpp>

#include "app/Camera.h"
#include "app/Transform.h"

namespace nox::shapes {

ShapeTextureShader::ShapeTextureShader() : Shader("../res/shader/shapeTexture") {
    bindAttributes();
    linkProgram();
    getAllUniformLocations();
    glUseProgram(program);
    glUniform1i(colorTex, 0);
    glUniformMatrix4fv(projectionMatrix, 1, GL_FALSE, glm::value_ptr(projection));
    glUseProgram(0);
}

void ShapeTextureShader::bindAttributes() {
    bindAttribute(0, "position");
}

void ShapeTextureShader::getAllUniformLocations() {
    transformationMatrix = getUniformLocation("transformationMatrix");
    viewMatrix = getUniformLocation("viewMatrix");
    colorTex = getUniformLocation("colorTex");
    projectionMatrix = getUniformLocation("projectionMatrix");
    outColorScale = getUniformLocation("outColorScale");
    lightColorScale = getUniformLocation("lightColorScale");
}

void ShapeTextureShader::loadViewMatrix() {
    glUniformMatrix4fv(viewMatrix, 1, GL_FALSE, glm::value_ptr(getViewMatrix()));
}

ShapeTextureShader& getShapeTextureShader() {
    static ShapeTextureShader shader;
    return shader;
}

}  // namespace nox::shapes
