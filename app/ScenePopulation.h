#pragma once

#include <array>

#include "app/DisplayConfig.h"
#include "assets/ModelInstance.h"

namespace nox {

inline constexpr int modelInstanceCount = 33;
// The two street lights are the last instances; their lanterns hang around
// the scene's two light cubes.
inline constexpr int firstStreetLightInstance = 31;

namespace terrain {
class Terrain;
}

// Loads the eight models and places the 33 instances on the terrain's ground.
std::array<assimp::ModelInstance, modelInstanceCount> populateScene(terrain::Terrain& terrain,
                                                                    const DisplayConfig& display = activeDisplay);

}  // namespace nox
