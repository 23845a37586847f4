#include "app/CameraPath.h"

#include <cmath>

#include "app/Window.h"

namespace nox {

namespace {

constexpr float segmentSpeed = 0.1f;  // ten seconds a segment

struct KeyFrame {
    Pose pose;
    glm::vec3 handle;
};

// clang-format off
constexpr std::array<KeyFrame, CameraPath::keyCount> keyFrames{{
    {{-49.0f, 41.0f, 14.0f, -14.0f, -52.0f, 0.0f}, {-57.0f, 44.0f, 21.0f}},
    {{-23.0f, 33.0f, -31.0f, -7.0f, -90.0f, 0.0f}, {-34.0f, 35.0f, -31.0f}},
    {{30.0f, 25.0f, -35.0f, 0.0f, -90.0f, 0.0f}, {18.0f, 25.0f, -35.0f}},
    {{71.5f, 25.5f, -37.0f, 16.0f, -65.0f, 0.0f}, {60.0f, 25.0f, -36.0f}},
    {{90.8f, 33.8f, -38.5f, 16.3f, -25.0f, 0.0f}, {83.6f, 30.0f, -37.0f}},
    {{114.8f, 31.0f, -39.0f, 17.9f, 56.0f, 0.0f}, {107.5f, 31.5f, -39.0f}},
    {{92.4f, 33.75f, -85.9f, -9.7f, 149.0f, 0.0f}, {102.0f, 33.7f, -78.0f}},
    {{74.0f, 32.0f, -85.0f, -8.5f, 200.0f, 0.0f}, {84.5f, 32.5f, -88.2f}},
    {{34.0f, 32.5f, -49.0f, -6.0f, 266.0f, 0.0f}, {37.7f, 32.5f, -61.0f}},
    {{82.9f, 28.6f, 12.6f, -22.1f, 358.5f, 0.0f}, {52.6f, 28.6f, 10.7f}},
    {{132.6f, 35.4f, -15.0f, 0.55f, 398.6f, 0.0f}, {115.0f, 31.5f, -2.6f}},
    {{142.9f, 36.0f, -50.1f, 17.6f, 420.4f, 0.0f}, {147.8f, 34.7f, -34.4f}},
    {{139.5f, 37.6f, -80.1f, 16.3f, 437.4f, 0.0f}, {149.5f, 36.5f, -68.0f}},
    {{101.6f, 33.0f, -101.0f, -5.0f, 472.0f, 0.0f}, {115.0f, 34.9f, -103.8f}},
    {{77.5f, 26.7f, -87.27f, 29.7f, 423.8f, 0.0f}, {84.7f, 29.8f, -92.0f}},
    {{-18.2f, 30.4f, -36.9f, -5.5f, 266.0f, 0.0f}, {-5.1f, 29.6f, -44.4f}},
}};
// clang-format on

glm::vec3 positionOf(const Pose& pose) {
    return {pose[0], pose[1], pose[2]};
}

}  // namespace

CameraPath::CameraPath(const DisplayConfig& display) {
    for (int i = 0; i < keyCount; ++i) {
        keys[i] = keyFrames[i].pose;
        handles[i] = keyFrames[i].handle;
    }
    for (int i = 0; i < segmentCount; ++i) {
        PathSegment& segment = segments[i];
        segment.start = keys[i];
        segment.end = keys[i + 1];
        // The incoming handle mirrored through the key keeps the direction continuous.
        segment.outHandle = 2.0f * positionOf(keys[i]) - handles[i];
        segment.inHandle = handles[i + 1];
        segment.speed = segmentSpeed;
    }
    segments[segmentCount - 1].speed = display.lastSegmentSpeed;
}

Pose CameraPath::evaluate() {
    t += static_cast<float>(deltaTime) * segments[current].speed;
    if (t >= 1.0f) {
        // A long frame may pass several segments; the leftover carries into
        // the segment it ends in.
        const float passed = std::floor(t);
        t -= passed;
        current = (current + static_cast<int>(std::fmod(passed, static_cast<float>(segmentCount)))) % segmentCount;
    }
    const PathSegment& segment = segments[current];
    const float s = t;
    const float u = 1.0f - t;

    // De Casteljau: repeated linear interpolation between the control points.
    const glm::vec3 p0 = positionOf(segment.start);
    const glm::vec3 p1 = segment.outHandle;
    const glm::vec3 p2 = segment.inHandle;
    const glm::vec3 p3 = positionOf(segment.end);
    const glm::vec3 p01 = p0 * u + p1 * s;
    const glm::vec3 p12 = p1 * u + p2 * s;
    const glm::vec3 p23 = p2 * u + p3 * s;
    const glm::vec3 p012 = p01 * u + p12 * s;
    const glm::vec3 p123 = p12 * u + p23 * s;
    const glm::vec3 position = p012 * u + p123 * s;

    Pose pose{position.x, position.y, position.z, 0.0f, 0.0f, 0.0f};
    for (int angle = 3; angle < 6; ++angle) pose[angle] = segment.start[angle] * u + segment.end[angle] * s;
    return pose;
}

}  // namespace nox
