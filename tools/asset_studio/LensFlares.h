#pragma once

#include <filesystem>

namespace nox::studio {

// "lensflares/lf1.png" ... "lf7.png": the light's glow, lens ghosts (discs and
// rings of the aperture) and a star streak. RGBA: the colour of the sprite in
// RGB, its strength in alpha (the renderer adds colour weighted by alpha).
void writeLensFlares(const std::filesystem::path& texturesDir);

}  // namespace nox::studio
