#pragma once

#include <optional>

#include <glm/glm.hpp>

namespace nox {

// Where the last projected point lies in the window: u from 0 at the left to
// 1 at the right edge, v from 0 at the top to 1 at the bottom. Empty when the
// point was behind the camera. Only projectToScreen writes it.
extern std::optional<glm::vec2> screenPosition;

// Projects a world point with the shared projection and the camera as it is
// now. The previous position is dropped first, so a point behind the camera
// (or in the camera's own plane) leaves no position at all. A point in front
// but outside the view still gets one, outside [0, 1].
void projectToScreen(const glm::vec3& worldPosition);

}  // namespace nox
