#include "postprocessing/LensFlareShader.h"

#include "app/DisplayConfig.h"

namespace nox::lensflares {

LensFlareShader::LensFlareShader() : Shader("../res/shader/lensFlare") {
    buildProgram();
    glUseProgram(program);
    glUniform1f(aspectRatio, static_cast<float>(activeDisplay.windowWidth) / activeDisplay.windowHeight);
    glUseProgram(0);
}

void LensFlareShader::bindAttributes() {
    bindAttribute(0, "position");
}

void LensFlareShader::getAllUniformLocations() {
    brightness = getUniformLocation("brightness");
    transform = getUniformLocation("transform");
    flareTexture = getUniformLocation("flareTexture");
    aspectRatio = getUniformLocation("aspectRatio");
}

LensFlareShader& getLensFlareShader() {
    static LensFlareShader shader;
    return shader;
}

}  // namespace nox::lensflares
