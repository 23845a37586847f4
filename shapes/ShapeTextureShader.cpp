#include "shapes/ShapeTextureShader.h"

#include <glm/gtc/type_ptr.hpp>

#include "app/Camera.h"

namespace nox::shapes {

ShapeTextureShader::ShapeTextureShader() : Shader("../res/shader/shapeTexture") {
    buildProgram();
    glUseProgram(program);
    glUniform1i(colorTex, 0);
    glUseProgram(0);
    loadProjection(projectionMatrix);
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
