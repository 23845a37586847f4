#include "gpu_particles/Fire.h"

namespace nox::gpu_particles {

namespace {
// One flame a second: each lives long and is drawn large.
constexpr Emission fireEmission{1.0, 1};
}  // namespace

FireComputeShader::FireComputeShader() : ParticleComputeShader("../res/shader/fire") {
    linkProgram();
    getAllUniformLocations();
}

FireGeometryShader::FireGeometryShader() {
    buildProgram();
}

FireComputeShader& getFireComputeShader() {
    static FireComputeShader shader;
    return shader;
}

FireGeometryShader& getFireGeometryShader() {
    static FireGeometryShader shader;
    return shader;
}

ParticleSystem& getFireSystem() {
    static ParticleSystem system("fireAtlas.png");
    return system;
}

void updateFire(ParticleSystem& system) {
    system.step(getFireComputeShader(), fireEmission);
}

void renderFire(const ParticleSystem& system) {
    system.draw(getFireGeometryShader());
}

}  // namespace nox::gpu_particles
