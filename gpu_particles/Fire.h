#pragma once

#include "gpu_particles/ParticleComputeShader.h"
#include "gpu_particles/ParticleGeometryShader.h"
#include "gpu_particles/ParticleSystem.h"

namespace nox::gpu_particles {

// Moves the campfire's flames; the emitter at the campfire is in its source.
class FireComputeShader : public ParticleComputeShader {
public:
    FireComputeShader();
};

class FireGeometryShader : public ParticleGeometryShader {
public:
    FireGeometryShader();
};

FireComputeShader& getFireComputeShader();
FireGeometryShader& getFireGeometryShader();

// The campfire's flames, created on the first call.
ParticleSystem& getFireSystem();

// One compute step over the last frame's deltaTime.
void updateFire(ParticleSystem& system);

// Draws the flames into the framebuffer bound, after all opaque geometry.
void renderFire(const ParticleSystem& system);

}  // namespace nox::gpu_particles
