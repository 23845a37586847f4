#pragma once

#include "postprocessing/InputEffect.h"

namespace nox::polarcoorinates {

// Lays the image out in polar coordinates about the point handed over for the
// pass (inputValues[0], inputValues[1], in texture coordinates): the angle
// about it runs along the width, the distance from it up the height.
class CartesianToPolarUncentered : public postprocessing::PointCentredEffect {
public:
    CartesianToPolarUncentered();

protected:
    void getAllUniformLocations() override;
};

}  // namespace nox::polarcoorinates
