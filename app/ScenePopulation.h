#pragma once

#include <array>

#include "app/DisplayConfig.h"
#include "assets/ModelInstance.h"

namespace nox {

inline constexpr int modelInstanceCount = 33;

namespace terrain {
class Terrain;
}

// Loads the eight models and places the 33 instances on the terrain's ground.
std::array<assimp::ModelInstance, modelInstanceCount> populateScene(terrain::Terrain& terrain,
                                                                     const DisplayConfig& display = activeDisplay);

}  // namespace nox
