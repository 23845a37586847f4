#pragma once

#include <glm/glm.hpp>

namespace nox {

// Whether any point of the box from `low` to `high`, placed in the world by
// `toWorld`, can be inside the view of `viewProjection` and on the kept side
// of `clipPlane` (a world plane; (0, 0, 0, 1) keeps everything). Never false
// for a box that can put a fragment on the screen; it may be true for a box
// that is hidden, since only the corners are tested.
bool boxMayBeSeen(const glm::vec3& low, const glm::vec3& high, const glm::mat4& toWorld,
                  const glm::mat4& viewProjection, const glm::vec4& clipPlane);

}  // namespace nox
