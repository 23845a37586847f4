#pragma once

#include <filesystem>

namespace nox::studio {

// Each writes one Wavefront model with its MTL file and textures into its own
// directory below modelsDir. Models stand on y = 0, centred on the origin in
// x and z, in the units the scene scales them by.
void writeCampfire(const std::filesystem::path& modelsDir);
void writeStreetLight(const std::filesystem::path& modelsDir);
void writeBoat(const std::filesystem::path& modelsDir);
void writeTrees(const std::filesystem::path& modelsDir);
void writeCottage(const std::filesystem::path& modelsDir);
void writeFarmhouse(const std::filesystem::path& modelsDir);

}  // namespace nox::studio
