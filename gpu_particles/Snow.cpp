#include "gpu_particles/Snow.h"

#include "app/Camera.h"

namespace nox::gpu_particles {

namespace {
// Ten thousand flakes a second in a box 300 units across: about a hundred
// thousand in the air at once.
constexpr Emission snowEmission{10000.0, 300};
}  // namespace

SnowComputeShader::SnowComputeShader() : ParticleComputeShader("../res/shader/snow") {
    linkProgram();
    getAllUniformLocations();
}

void SnowComputeShader::getAllUniformLocations() {
    ParticleComputeShader::getAllUniformLocations();
    cameraTranslation = getUniformLocation("CameraTranslation");
}

SnowGeometryShader::SnowGeometryShader() {
    buildProgram();
}

SnowComputeShader& getSnowComputeShader() {
    static SnowComputeShader shader;
    return shader;
}

SnowGeometryShader& getSnowGeometryShader() {
    static SnowGeometryShader shader;
    return shader;
}

ParticleSystem& getSnowSystem() {
    static ParticleSystem system("particleSnow.png");
    return system;
}

void updateSnow(ParticleSystem& system) {
    const SnowComputeShader& shader = getSnowComputeShader();
    // The flakes are born in a box around the camera.
    system.step(shader, snowEmission,
                [&shader] { glUniform3fv(shader.cameraTranslation, 1, &getCamera().position[0]); });
}

void renderSnow(const ParticleSystem& system) {
    system.draw(getSnowGeometryShader());
}

}  // namespace nox::gpu_particles
