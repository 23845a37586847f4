#pragma once

namespace nox::water {

// One square of water: the unit quad scaled by `size` (half its edge) and
// laid flat at height `height`, centred on (x, z).
struct WaterTile {
    float size;
    float height;
    float x;
    float z;
};

}  // namespace nox::water
