#pragma once

#include "postprocessing/InputEffect.h"

namespace nox::polarcoorinates {

// Lays the image out in polar coordinates about the middle of the picture:
// the angle runs along the width, the distance up the height. The centre is
// fixed in the program, so there is nothing to set.
class CartesianToPolarCentered : public postprocessing::SingleInputEffect {
public:
    CartesianToPolarCentered();

protected:
    void getAllUniformLocations() override {}
};

}  // namespace nox::polarcoorinates
