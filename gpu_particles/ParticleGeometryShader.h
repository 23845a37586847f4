#pragma once

#include "shaders/GeometryShader.h"

namespace nox::gpu_particles {

// Expands particle points into camera-facing sprites from an atlas. Both
// systems draw with a program built from the same files, each its own object.
class ParticleGeometryShader : public main::GeometryShader {
public:
    GLint modelViewMatrix = -1;
    GLint projectionMatrix = -1;
    GLint numRows = -1;

protected:
    ParticleGeometryShader();

    void bindAttributes() override;
    void getAllUniformLocations() override;
};

}  // namespace nox::gpu_particles
