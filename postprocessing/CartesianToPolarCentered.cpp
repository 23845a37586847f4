#include "postprocessing/CartesianToPolarCentered.h"

namespace nox::polarcoorinates {

CartesianToPolarCentered::CartesianToPolarCentered()
    : postprocessing::SingleInputEffect("../res/shader/cartToPolCentered") {
    buildProgram();
}

}  // namespace nox::polarcoorinates
