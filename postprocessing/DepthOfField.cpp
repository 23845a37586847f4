#include "postprocessing/DepthOfField.h"

namespace nox::depthoffield {

namespace {
constexpr GLint largestKernel = 9;  // texels
}  // namespace

DepthOfField::DepthOfField(const Axis& axis, float maximumDepthDifference)
    : postprocessing::TwoInputEffect(axis.stem),
      targetSizeName(axis.targetSizeName),
      maxKernelSizeName(axis.maxKernelSizeName) {
    buildProgram();
    glUseProgram(program);
    glUniform1i(targetSize, axis.targetSize);
    glUniform1f(maxDeltaDepth, maximumDepthDifference);
    glUniform1i(maxKernelSize, largestKernel);
    glUseProgram(0);
}

void DepthOfField::getAllUniformLocations() {
    targetSize = getUniformLocation(targetSizeName);
    focusDepth = getUniformLocation("focusDepth");
    maxDeltaDepth = getUniformLocation("maxDeltaDepth");
    maxKernelSize = getUniformLocation(maxKernelSizeName);
    colorTexture = getUniformLocation("colorTexture");
    depthTexture = getUniformLocation("depthTexture");
}

void DepthOfField::setPassUniforms() {
    glUniform1i(colorTexture, colourUnit);
    glUniform1i(depthTexture, depthUnit);
}

}  // namespace nox::depthoffield
