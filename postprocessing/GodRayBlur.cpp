#include "postprocessing/GodRayBlur.h"

#include "app/DisplayConfig.h"

namespace nox::blur {

namespace {
constexpr float blurRadius = 40.0f;  // texels gathered along each ray
}  // namespace

GodRayBlur::GodRayBlur() : postprocessing::SingleInputEffect("../res/shader/godRayBlur") {
    buildProgram();
    glUseProgram(program);
    glUniform1f(radius, blurRadius);
    glUniform1f(targetHeight, static_cast<float>(activeDisplay.windowHeight));
    glUseProgram(0);
}

void GodRayBlur::getAllUniformLocations() {
    radius = getUniformLocation("radius");
    alpha = getUniformLocation("alpha");
    targetHeight = getUniformLocation("targetHeight");
}

}  // namespace nox::blur
