#include "postprocessing/VerticalMeanBlur.h"

#include "app/DisplayConfig.h"

namespace nox::blur {

namespace {
constexpr GLint kernelTexels = 21;
}  // namespace

VerticalMeanBlur::VerticalMeanBlur() : postprocessing::SingleInputEffect("../res/shader/verticalMeanBlur") {
    buildProgram();
    glUseProgram(program);
    glUniform1i(targetHeight, activeDisplay.windowHeight);
    glUniform1i(kernelHeight, kernelTexels);
    glUseProgram(0);
}

void VerticalMeanBlur::getAllUniformLocations() {
    targetHeight = getUniformLocation("targetHeight");
    kernelHeight = getUniformLocation("kernelHeight");
}

}  // namespace nox::blur
