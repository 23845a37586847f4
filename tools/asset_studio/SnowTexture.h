#pragma once

#include <filesystem>

namespace nox::studio {

// The ground: wind-shaped snow that tiles seamlessly, with gentle contrast so
// that the many repetitions across the terrain do not show.
void writeSnowTexture(const std::filesystem::path& texturesDir);

}  // namespace nox::studio
