#pragma once

#include <filesystem>

namespace nox::studio {

// "particleSnow.png": 64 soft snowflakes on black, crystals and blurred flakes.
void writeSnowflakeAtlas(const std::filesystem::path& texturesDir);

}  // namespace nox::studio
