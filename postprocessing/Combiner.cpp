#include "postprocessing/Combiner.h"

namespace nox::postprocessing {

Combiner::Combiner() : TwoInputEffect("../res/shader/combiner") {
    buildProgram();
    glUseProgram(program);
    glUniform1i(colourTexture, colourUnit);
    glUniform1i(highlightTexture, highlightUnit);
    glUseProgram(0);
}

void Combiner::getAllUniformLocations() {
    colourTexture = getUniformLocation("colourTexture");
    highlightTexture = getUniformLocation("highlightTexture");
}

}  // namespace nox::postprocessing
