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
void drawShape(const SharedMesh& mesh, const glm::mat4& modelMatrix) {
    glUniformMatrix4fv(getShapeShader().transformationMatrix, 1, GL_FALSE, glm::value_ptr(modelMatrix));
    drawPositionArrays(mesh);
}
}  // namespace

void renderShape(const Shape& shape) {
    glEnable(GL_DEPTH_TEST);
    drawShape(shape, shape.modelMatrix());
}

void renderShapeWithoutDepth(const Shape& shape) {
    renderShapeWithoutDepth(shape, shape.modelMatrix());
}

void renderShapeWithoutDepth(const SharedMesh& mesh, const glm::mat4& modelMatrix) {
    glDepthMask(GL_FALSE);
    glDisable(GL_DEPTH_TEST);
    drawShape(mesh, modelMatrix);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
}

}  // namespace nox::shapes
