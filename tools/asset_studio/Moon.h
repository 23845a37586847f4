#pragma once

#include <filesystem>

namespace nox::studio {

// The full moon as seen from the ground, north up: RGBA, transparent around a
// soft-edged disc.
void writeMoon(const std::filesystem::path& texturesDir);

}  // namespace nox::studio
