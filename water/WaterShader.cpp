#include "water/WaterShader.h"

#include "shaders/ShaderFunctions.h"

namespace nox::water {

WaterShader::WaterShader() : Shader("../res/shader/water") {
    buildProgram();
    glUseProgram(program);
    glUniform1i(reflectionTexture, reflectionUnit);
    glUniform1i(refractionTexture, refractionUnit);
    glUniform1i(dudvMap, distortionUnit);
    glUniform1i(normalMap, normalMapUnit);
    glUniform1i(depthMap, depthMapUnit);
    glUseProgram(0);
    loadProjection(projectionMatrix);
}

void WaterShader::bindAttributes() {
    bindAttribute(0, "position");
}

void WaterShader::getAllUniformLocations() {
    projectionMatrix = getUniformLocation("projectionMatrix");
    viewMatrix = getUniformLocation("viewMatrix");
    modelMatrix = getUniformLocation("modelMatrix");
    reflectionTexture = getUniformLocation("reflectionTexture");
    refractionTexture = getUniformLocation("refractionTexture");
    dudvMap = getUniformLocation("dudvMap");
    moveFactor = getUniformLocation("moveFactor");
    cameraPosition = getUniformLocation("cameraPosition");
    normalMap = getUniformLocation("normalMap");
    for (int i = 0; i < lightCount; ++i) {
        lightPosition[i] = getUniformLocation(main::uniformArrayName("lightPosition[", i).c_str());
        lightColour[i] = getUniformLocation(main::uniformArrayName("lightColour[", i).c_str());
    }
    depthMap = getUniformLocation("depthMap");
}

WaterShader& getWaterShader() {
    static WaterShader shader;
    return shader;
}

}  // namespace nox::water
