#include "postprocessing/CartesianToPolarUncentered.h"

namespace nox::polarcoorinates {

CartesianToPolarUncentered::CartesianToPolarUncentered()
    : postprocessing::PointCentredEffect("../res/shader/cartToPolUncentered") {
    buildProgram();
}

void CartesianToPolarUncentered::getAllUniformLocations() {
    center = getUniformLocation("center");
}

}  // namespace nox::polarcoorinates
