#pragma once

#include <string>

#include <GL/glew.h>

#include "assets/GlObject.h"

namespace nox::main {

// Base of a program with a single compute stage, read from stem + ".comp".
// A concrete shader's constructor finishes the build: linkProgram(), then
// getAllUniformLocations(). A compute stage has no vertex inputs, so there are
// no attribute names to bind.
class ComputeShader {
public:
    virtual ~ComputeShader();

    ComputeShader(const ComputeShader&) = delete;
    ComputeShader& operator=(const ComputeShader&) = delete;

    // Links, then validates in the state of the moment; failures are printed.
    void linkProgram();

    ProgramObject program;
    ShaderObject shader;

protected:
    explicit ComputeShader(const std::string& stem);

    virtual void getAllUniformLocations() = 0;

    GLint getUniformLocation(const char* name);
};

}  // namespace nox::main
