#pragma once

#include <string>

#include <GL/glew.h>

#include "assets/GlObject.h"

namespace nox::main {

// Base of every vertex + fragment program. It owns the program and its two
// stage objects. A concrete shader's constructor finishes the build in this
// order: bindAttributes(), linkProgram(), getAllUniformLocations(), then any
// constant uniforms. Nothing here assumes that a Shader sits at the start of
// the complete object, so it also works as a second base.
class Shader {
public:
    virtual ~Shader();

    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // Links, then validates in the state of the moment; failures are printed.
    void linkProgram();

    ProgramObject program;
    ShaderObject shaders[2];  // vertex, fragment: attach order

protected:
    // Compiles stem + ".vert" and stem + ".frag" and attaches both.
    explicit Shader(const std::string& stem);

    virtual void bindAttributes() = 0;
    virtual void getAllUniformLocations() = 0;

    // Steps two to four of the protocol, for the most derived constructor:
    // bindAttributes(), linkProgram(), getAllUniformLocations().
    void buildProgram();

    // Uploads the shared projection to a mat4 uniform, with the program in use
    // only for the upload.
    void loadProjection(GLint location);

    void bindAttribute(GLuint index, const char* name);
    GLint getUniformLocation(const char* name);
};

}  // namespace nox::main
