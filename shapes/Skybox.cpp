#include "shapes/Skybox.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "app/Camera.h"
#include "assets/Texture.h"
#include "shapes/ShapeTextureShader.h"

namespace nox::shapes {

namespace {
constexpr const char* textureDirectory = "../res/textures";
constexpr const char* textureFiles[] = {"left.png",  "right.png", "back.png", "bottom.png",
                                        "front.png", "top.png",   "moon.png"};
}  // namespace

Skybox::Skybox() {
    for (unsigned i = 0; i <= moonIndex; ++i)
        textures[i] = TextureObject(loadTexture(textureFiles[i], textureDirectory));
    edgeSampler = SamplerObject(createEdgeClampedSampler());
}

glm::mat4 billboardMatrix(const Shape& shape, const glm::mat4& view) {
    glm::mat4 matrix = glm::translate(glm::mat4(1.0f), shape.position);
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) matrix[column][row] = view[row][column];
    }
    return glm::scale(matrix, shape.scale);
}

void Skybox::renderTexturedShape(const Shape& shape, unsigned index) {
    glEnable(GL_DEPTH_TEST);
    glActiveTexture(GL_TEXTURE0);
    glm::mat4 model = shape.modelMatrix();
    const bool ownTexture = index <= moonIndex;
    if (ownTexture) glBindSampler(0, edgeSampler);
    if (index < moonIndex) {
        glBindTexture(GL_TEXTURE_2D, textures[index]);
    } else if (index == moonIndex) {
        glBindTexture(GL_TEXTURE_2D, textures[moonIndex]);
        glEnable(GL_BLEND);
        // The moon's disc is cut out by its alpha whatever blending the pass
        // happened to leave behind.
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        model = billboardMatrix(shape, getViewMatrix());
    }
    glUniformMatrix4fv(getShapeTextureShader().transformationMatrix, 1, GL_FALSE, glm::value_ptr(model));
    drawPositionArrays(shape);
    if (ownTexture) glBindSampler(0, 0);
    glDisable(GL_BLEND);
}

Skybox& getSkybox() {
    static Skybox skybox;
    return skybox;
}

}  // namespace nox::shapes
