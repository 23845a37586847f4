#include "postprocessing/HorizontalMeanBlur.h"

#include "app/DisplayConfig.h"

namespace nox::blur {

namespace {
constexpr GLint kernelTexels = 21;
}  // namespace

HorizontalMeanBlur::HorizontalMeanBlur() : postprocessing::SingleInputEffect("../res/shader/horizontalMeanBlur") {
    buildProgram();
    glUseProgram(program);
    glUniform1i(targetWidth, activeDisplay.windowWidth);
    glUniform1i(kernelWidth, kernelTexels);
    glUseProgram(0);
}

void HorizontalMeanBlur::getAllUniformLocations() {
    targetWidth = getUniformLocation("targetWidth");
    kernelWidth = getUniformLocation("kernelWidth");
}

}  // namespace nox::blur
