#include "shapes/ShapeShader.h"

#include <glm/gtc/type_ptr.hpp>

#include "app/Camera.h"

namespace nox::shapes {

ShapeShader::ShapeShader() : Shader("../res/shader/shape") {
    buildProgram();
    loadProjection(projectionMatrix);
}

void ShapeShader::bindAttributes() {
    bindAttribute(0, "position");
}

void ShapeShader::getAllUniformLocations() {
    transformationMatrix = getUniformLocation("transformationMatrix");
    viewMatrix = getUniformLocation("viewMatrix");
    projectionMatrix = getUniformLocation("projectionMatrix");
    color = getUniformLocation("color");
}

void ShapeShader::loadViewMatrix() {
    glUniformMatrix4fv(viewMatrix, 1, GL_FALSE, glm::value_ptr(getViewMatrix()));
}

ShapeShader& getShapeShader() {
    static ShapeShader shader;
    return shader;
}

namespace {
void drawShape(const Shape& shape) {
    glUniformMatrix4fv(getShapeShader().transformationMatrix, 1, GL_FALSE, glm::value_ptr(shape.modelMatrix()));
    drawPositionArrays(shape);
}
}  // namespace

void renderShape(const Shape& shape) {
    glEnable(GL_DEPTH_TEST);
    drawShape(shape);
}

void renderShapeWithoutDepth(const Shape& shape) {
    glDepthMask(GL_FALSE);
    glDisable(GL_DEPTH_TEST);
    drawShape(shape);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
}

}  // namespace nox::shapes
