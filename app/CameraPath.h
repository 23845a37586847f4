#pragma once

#include <array>

#include <glm/glm.hpp>

#include "app/DisplayConfig.h"

namespace nox {

// x, y, z, pitch, yaw, roll
using Pose = std::array<float, 6>;

struct PathSegment {
    Pose start;
    Pose end;
    glm::vec3 outHandle;  // first control point after the start
    glm::vec3 inHandle;   // second control point, before the end
    float speed;          // parameter units per second
};

// The looping key-framed flight: 15 cubic Bezier segments through 16 keys.
class CameraPath {
public:
    static constexpr int segmentCount = 15;
    static constexpr int keyCount = segmentCount + 1;

    explicit CameraPath(const DisplayConfig& display = activeDisplay);

    // Advances by deltaTime and returns the pose, moving on by as many
    // segments as the step passes.
    Pose evaluate();

    std::array<PathSegment, segmentCount> segments;
    std::array<Pose, keyCount> keys;
    std::array<glm::vec3, keyCount> handles;  // incoming handle of each key
    int current = 0;
    float t = 0.0f;
};

}  // namespace nox
