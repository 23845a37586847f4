#include "postprocessing/PolarToCartesianUncentered.h"

namespace nox::polarcoorinates {

PolarToCartesianUncentered::PolarToCartesianUncentered()
    : postprocessing::PointCentredEffect("../res/shader/polToCartUncentered") {
    buildProgram();
}

void PolarToCartesianUncentered::getAllUniformLocations() {
    center = getUniformLocation("center");
}

}  // namespace nox::polarcoorinates
