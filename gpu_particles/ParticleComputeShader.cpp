#include "gpu_particles/ParticleComputeShader.h"

namespace nox::gpu_particles {

ParticleComputeShader::ParticleComputeShader(const std::string& stem) : ComputeShader(stem) {}

void ParticleComputeShader::getAllUniformLocations() {
    lastCount = getUniformLocation("LastCount");
    maximumCount = getUniformLocation("MaximumCount");
    deltaT = getUniformLocation("DeltaT");
    spawnCount = getUniformLocation("SpawnCount");
    maxAge = getUniformLocation("MaxAge");
    particleSpread = getUniformLocation("ParticleSpread");
}

}  // namespace nox::gpu_particles
