#pragma once

#include "shaders/Shader.h"
#include "shapes/Shape.h"

namespace nox::shapes {

// Draws shapes in one flat colour: the light cubes, and the light sources'
// silhouettes for the occlusion queries.
class ShapeShader : public main::Shader {
public:
    ShapeShader();

    // Sets "viewMatrix" from the camera; the program must be in use.
    void loadViewMatrix();

    GLint transformationMatrix = -1;
    GLint viewMatrix = -1;
    GLint projectionMatrix = -1;
    GLint color = -1;

protected:
    void bindAttributes() override;
    void getAllUniformLocations() override;
};

ShapeShader& getShapeShader();

// Both expect the ShapeShader in use with its view matrix and colour set.
// renderShape depth-tests and leaves depth testing on.
void renderShape(const Shape& shape);
// Draws every sample, hidden or not, then turns depth testing and depth writes on.
void renderShapeWithoutDepth(const Shape& shape);
// The same for a mesh placed by a matrix of the caller's, such as the moon's
// quad turned to face the camera.
void renderShapeWithoutDepth(const SharedMesh& mesh, const glm::mat4& modelMatrix);

}  // namespace nox::shapes
