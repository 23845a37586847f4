#pragma once

#include "postprocessing/InputEffect.h"

namespace nox::polarcoorinates {

// The inverse of CartesianToPolarUncentered about the same point: turns the
// polar image back into the picture.
class PolarToCartesianUncentered : public postprocessing::PointCentredEffect {
public:
    PolarToCartesianUncentered();

protected:
    void getAllUniformLocations() override;
};

}  // namespace nox::polarcoorinates
