#pragma once

#include <string>

#include "shaders/ComputeShader.h"

namespace nox::gpu_particles {

// The uniforms that both particle compute programs read.
class ParticleComputeShader : public main::ComputeShader {
public:
    // The work-group size that every particle compute program declares.
    static constexpr int workGroupSize = 256;

    GLint lastCount = -1;
    GLint maximumCount = -1;
    GLint deltaT = -1;
    GLint spawnCount = -1;
    GLint maxAge = -1;
    GLint particleSpread = -1;

protected:
    explicit ParticleComputeShader(const std::string& stem);

    void getAllUniformLocations() override;
};

}  // namespace nox::gpu_particles
