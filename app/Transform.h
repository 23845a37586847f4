#pragma once

#include <glm/glm.hpp>

namespace nox {

// Degrees to radians, in the single precision every matrix of the program uses.
inline constexpr float degreesToRadians = 0.017453292f;

// T * Rz * Ry * Rx * S: scale first, then rotate about X, Y, Z, then translate.
glm::mat4 createModelMatrix(const glm::vec3& translation, const glm::vec3& rotation, const glm::vec3& scale);

// The one perspective projection shared by every shader. The field of view is
// 70 passed as radians and the aspect is 1, so the 16:9 image is stretched
// horizontally; the scene was composed with exactly this matrix.
glm::mat4 makeProjection();
extern const glm::mat4 projection;

}  // namespace nox
