#pragma once

#include <filesystem>

namespace nox::studio {

// Distortion ("waterDUDV.png", offsets in red and green around 0.5) and
// tangent-space normals ("normal.png") of one small-wave surface; both tile.
void writeWaterMaps(const std::filesystem::path& texturesDir);

}  // namespace nox::studio
