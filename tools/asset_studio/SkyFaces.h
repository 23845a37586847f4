#pragma once

#include <array>

#include <glm/glm.hpp>

namespace nox::studio {

// One face of the sky box as the renderer places it: the shared quad (x, y in
// [-1, 1]) transformed by T * Rz * Ry * Rx * S. Angles in degrees.
struct SkyFace {
    const char* fileName;
    glm::vec3 translation;
    glm::vec3 rotation;
    float scale;
};

inline constexpr int skyFaceSize = 1024;

const std::array<SkyFace, 6>& skyFaces();

glm::mat4 faceMatrix(const SkyFace& face);

// The quad position whose texture coordinate, (x / 2 + 1/2, 1/2 - y / 2), is
// the centre of texel (i, j); j = 0 is the top row of the image file. Works for
// fractional texel indices too (the edges of the face are at -0.5 and size - 0.5).
glm::vec2 texelQuadPosition(float i, float j, int size);

// The sky direction seen through texel (i, j) of a face: the box is centred on
// the origin, so it is the normalised world position of the texel.
glm::vec3 texelDirection(const glm::mat4& faceMatrix, float i, float j, int size);

}  // namespace nox::studio
