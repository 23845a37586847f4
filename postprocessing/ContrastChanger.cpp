#include "postprocessing/ContrastChanger.h"

namespace nox::colors {

namespace {
constexpr float contrastChange = 0.3f;
}  // namespace

ContrastChanger::ContrastChanger() : postprocessing::SingleInputEffect("../res/shader/contrast") {
    buildProgram();
    glUseProgram(program);
    glUniform1f(contrast, contrastChange);
    glUseProgram(0);
}

void ContrastChanger::getAllUniformLocations() {
    contrast = getUniformLocation("contrast");
}

}  // namespace nox::colors
