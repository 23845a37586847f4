#pragma once

#include <filesystem>

#include <glm/glm.hpp>

namespace nox::studio {

// Where the scene's moon hangs, seen from the middle of the sky box; the sky
// brightens around it and its glare hides the faintest stars there.
glm::vec3 moonDirection();

// The six sky faces, each texel a function of its direction only.
void writeSky(const std::filesystem::path& texturesDir);

}  // namespace nox::studio
