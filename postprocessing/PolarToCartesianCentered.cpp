#include "postprocessing/PolarToCartesianCentered.h"

namespace nox::polarcoorinates {

PolarToCartesianCentered::PolarToCartesianCentered()
    : postprocessing::SingleInputEffect("../res/shader/polToCartCentered") {
    buildProgram();
}

}  // namespace nox::polarcoorinates
