#pragma once

#include <filesystem>

namespace nox::studio {

// "fireAtlas.png": the life of one flame lick in 64 frames on black, from a
// bright yellow-white tongue at birth to dim red wisps at the end.
void writeFireAtlas(const std::filesystem::path& texturesDir);

}  // namespace nox::studio
