#include "app/Transform.h"

#include <glm/gtc/matrix_transform.hpp>

namespace nox {

namespace {
constexpr float fieldOfView = 70.0f;  // handed to glm as radians
constexpr float aspectRatio = 1.0f;
constexpr float nearPlane = 0.1f;
constexpr float farPlane = 1000.0f;
}  // namespace

glm::mat4 createModelMatrix(const glm::vec3& translation, const glm::vec3& rotation, const glm::vec3& scale) {
    const glm::mat4 identity(1.0f);
    const glm::mat4 t = glm::translate(identity, translation);
    const glm::mat4 rx = glm::rotate(identity, rotation.x * degreesToRadians, glm::vec3(1, 0, 0));
    const glm::mat4 ry = glm::rotate(identity, rotation.y * degreesToRadians, glm::vec3(0, 1, 0));
    const glm::mat4 rz = glm::rotate(identity, rotation.z * degreesToRadians, glm::vec3(0, 0, 1));
    const glm::mat4 s = glm::scale(identity, scale);
    return t * rz * ry * rx * s;
}

glm::mat4 makeProjection() {
    return glm::perspective(fieldOfView, aspectRatio, nearPlane, farPlane);
}

const glm::mat4 projection = makeProjection();

}  // namespace nox
