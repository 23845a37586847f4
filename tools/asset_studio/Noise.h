#pragma once

#include <cstdint>

#include <glm/glm.hpp>

namespace nox::studio {

// Gradient noise in [-1, 1] (roughly). The 2D variants repeat with an integer
// period in lattice cells, so a texture that samples one period across its
// width tiles without a seam. The 3D variant is sampled on the unit sphere for
// the sky, where continuity in direction is what keeps cube faces seamless.
float periodicNoise(glm::vec2 p, int period, std::uint32_t seed);
float noise3(glm::vec3 p, std::uint32_t seed);

// Sums of octaves: each octave doubles the frequency (and the period, so the
// sum still tiles) and multiplies the amplitude by gain. The result is
// normalised back to about [-1, 1].
float periodicFbm(glm::vec2 p, int period, int octaves, float gain, std::uint32_t seed);
float fbm3(glm::vec3 p, int octaves, float gain, std::uint32_t seed);

// A hash of integer coordinates to [0, 1), for per-cell or per-texel choices.
float hash01(int x, int y, std::uint32_t seed);

}  // namespace nox::studio
