#pragma once

#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "Mesh.h"

namespace nox::studio {

// Material names of one building; each model has its own pictures.
struct HouseMaterials {
    std::string foundation;
    std::string wall;
    std::string roofEdge;
    std::string snow;
    std::string window;
    std::string door;
    std::string trim;
};

// A gabled block with its ridge along x, centred on the origin, standing on a
// stone foundation, roofed with boards under a thick layer of snow.
struct HouseBlock {
    float length;                         // along x, the ridge
    float width;                          // along z
    float wallHeight;                     // eaves above the ground
    float roofRise;                       // ridge above the eaves
    float overhang;                       // of the roof beyond the walls
    std::vector<glm::vec2> frontWindows;  // (x, sill height) on the +z wall
    std::vector<glm::vec2> backWindows;   // (x, sill height) on the -z wall
    std::vector<glm::vec2> gableWindows;  // (z, sill height) on both gable ends
    float doorX;                          // the door is on the +z wall at this x
    glm::vec2 windowSize;
    glm::vec2 doorSize;
    float wallRepeat;  // units per repeat of the wall picture, so boards keep a believable width
};

void addHouseBlock(Mesh& mesh, const HouseBlock& block, const HouseMaterials& materials);

// A square stone chimney from inside the roof up to `top`, with a snow cap.
void addChimney(Mesh& mesh, glm::vec3 base, float top, float halfSize, const HouseMaterials& materials);

}  // namespace nox::studio
