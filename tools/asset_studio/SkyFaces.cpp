#include "SkyFaces.h"

#include <glm/gtc/matrix_transform.hpp>

namespace nox::studio {

namespace {
// The renderer converts degrees with this single-precision factor; using the
// same one keeps the texel directions identical to what it draws.
constexpr float degreesToRadians = 0.017453292f;
}  // namespace

const std::array<SkyFace, 6>& skyFaces() {
    static const std::array<SkyFace, 6> faces{{
        {"front.png", {0, 0, -500}, {0, 0, 180}, 500},
        {"back.png", {0, 0, 500}, {0, -180, 180}, 500},
        {"right.png", {500, 0, 0}, {180, 90, 0}, 500},
        {"left.png", {-500, 0, 0}, {0, -90, 180}, 500},
        {"bottom.png", {0, -500, 0}, {90, 0, 180}, 500},
        {"top.png", {0, 500, 0}, {90, 0, 0}, 500},
    }};
    return faces;
}

glm::mat4 faceMatrix(const SkyFace& face) {
    const glm::mat4 identity(1.0f);
    const glm::mat4 t = glm::translate(identity, face.translation);
    const glm::mat4 rx = glm::rotate(identity, face.rotation.x * degreesToRadians, glm::vec3(1, 0, 0));
    const glm::mat4 ry = glm::rotate(identity, face.rotation.y * degreesToRadians, glm::vec3(0, 1, 0));
    const glm::mat4 rz = glm::rotate(identity, face.rotation.z * degreesToRadians, glm::vec3(0, 0, 1));
    return t * rz * ry * rx * glm::scale(identity, glm::vec3(face.scale));
}

glm::vec2 texelQuadPosition(float i, float j, int size) {
    return {2.0f * (i + 0.5f) / static_cast<float>(size) - 1.0f, 1.0f - 2.0f * (j + 0.5f) / static_cast<float>(size)};
}

glm::vec3 texelDirection(const glm::mat4& faceMatrix, float i, float j, int size) {
    const glm::vec2 q = texelQuadPosition(i, j, size);
    return glm::normalize(glm::vec3(faceMatrix * glm::vec4(q, 0.0f, 1.0f)));
}

}  // namespace nox::studio
