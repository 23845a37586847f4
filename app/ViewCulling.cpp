#include "app/ViewCulling.h"

#include <array>

namespace nox {

bool boxMayBeSeen(const glm::vec3& low, const glm::vec3& high, const glm::mat4& toWorld,
                  const glm::mat4& viewProjection, const glm::vec4& clipPlane) {
    std::array<glm::vec4, 8> clip;
    bool anyKept = false;
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec3 local((corner & 1) ? high.x : low.x, (corner & 2) ? high.y : low.y,
                              (corner & 4) ? high.z : low.z);
        const glm::vec4 world = toWorld * glm::vec4(local, 1.0f);
        anyKept = anyKept || glm::dot(world, clipPlane) >= 0.0f;
        clip[corner] = viewProjection * world;
    }
    if (!anyKept) return false;
    // The view is -w <= x, y, z <= w: a box whose corners all lie beyond the
    // same one of those planes lies wholly beyond it.
    for (int axis = 0; axis < 3; ++axis) {
        bool allBeyondHigh = true;
        bool allBeyondLow = true;
        for (const glm::vec4& c : clip) {
            allBeyondHigh = allBeyondHigh && c[axis] > c.w;
            allBeyondLow = allBeyondLow && c[axis] < -c.w;
        }
        if (allBeyondHigh || allBeyondLow) return false;
    }
    return true;
}

}  // namespace nox
