#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include "assets/GlObject.h"
#include "shapes/Shape.h"

namespace nox::shapes {

// The six sky faces and the moon: one 2D texture each, drawn on quads.
class Skybox {
public:
    static constexpr unsigned faceCount = 6;
    static constexpr unsigned moonIndex = 6;

    Skybox();

    // Draws a quad with texture `index` through the ShapeTextureShader, which
    // the caller has made current with its scales and view matrix set. Faces
    // use the shape's model matrix; the moon (index 6) is a blended billboard
    // facing the camera; an index above 6 keeps the texture bound to unit 0.
    // Leaves depth testing on, blending off and no sampler on unit 0.
    void renderTexturedShape(const Shape& shape, unsigned index);

    TextureObject textures[moonIndex + 1];  // left, right, back, bottom, front, top, moon
    // The faces meet at their edges: a tap there must not blend in the
    // opposite edge, as the textures' own repeat would.
    SamplerObject edgeSampler;
};

Skybox& getSkybox();

// Translation of the shape with the view's rotation undone, then its scale:
// the quad always faces the camera and keeps its size in the world.
glm::mat4 billboardMatrix(const Shape& shape, const glm::mat4& view);

}  // namespace nox::shapes
