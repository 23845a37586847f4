#pragma once

#include "postprocessing/InputEffect.h"

namespace nox::polarcoorinates {

// Turns a polar image laid out about the middle of the picture (angle along
// the width, distance up the height) back into the picture. The centre is
// fixed in the program, so there is nothing to set.
class PolarToCartesianCentered : public postprocessing::SingleInputEffect {
public:
    PolarToCartesianCentered();

protected:
    void getAllUniformLocations() override {}
};

}  // namespace nox::polarcoorinates
