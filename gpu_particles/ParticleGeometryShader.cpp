#include "gpu_particles/ParticleGeometryShader.h"

namespace nox::gpu_particles {

ParticleGeometryShader::ParticleGeometryShader() : GeometryShader("../res/shader/gpuparticle") {}

// The source also fixes "position" at 0; binding it keeps the build order of
// every other program.
void ParticleGeometryShader::bindAttributes() {
    bindAttribute(0, "position");
}

void ParticleGeometryShader::getAllUniformLocations() {
    modelViewMatrix = getUniformLocation("ModelViewMatrix");
    projectionMatrix = getUniformLocation("ProjectionMatrix");
    numRows = getUniformLocation("NumRows");
}

}  // namespace nox::gpu_particles
