#pragma once

#include "gpu_particles/ParticleComputeShader.h"
#include "gpu_particles/ParticleGeometryShader.h"
#include "gpu_particles/ParticleSystem.h"

namespace nox::gpu_particles {

// Moves the snowflakes, spawning new ones in a box around the camera.
class SnowComputeShader : public ParticleComputeShader {
public:
    SnowComputeShader();

    GLint cameraTranslation = -1;

protected:
    void getAllUniformLocations() override;
};

class SnowGeometryShader : public ParticleGeometryShader {
public:
    SnowGeometryShader();
};

SnowComputeShader& getSnowComputeShader();
SnowGeometryShader& getSnowGeometryShader();

// The falling snow, created on the first call.
ParticleSystem& getSnowSystem();

// One compute step over the last frame's deltaTime, around the camera of now.
void updateSnow(ParticleSystem& system);

// Draws the flakes into the framebuffer bound, after all opaque geometry.
void renderSnow(const ParticleSystem& system);

}  // namespace nox::gpu_particles
