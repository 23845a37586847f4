#include "postprocessing/ScreenPosition.h"

#include "app/Camera.h"
#include "app/Transform.h"

namespace nox {

std::optional<glm::vec2> screenPosition;

void projectToScreen(const glm::vec3& worldPosition) {
    screenPosition.reset();
    const glm::vec4 clip = projection * getViewMatrix() * glm::vec4(worldPosition, 1.0f);
    if (clip.w <= 0.0f) return;
    const float u = (clip.x / clip.w + 1.0f) * 0.5f;
    const float v = 1.0f - (clip.y / clip.w + 1.0f) * 0.5f;
    screenPosition = glm::vec2(u, v);
}

}  // namespace nox
