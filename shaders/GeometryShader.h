#pragma once

#include <string>

#include <GL/glew.h>

#include "assets/GlObject.h"

namespace nox::main {

// Base of a program with vertex, geometry and fragment stages, read from
// stem + ".vert", ".geom" and ".frag". A concrete shader's constructor
// finishes the build with buildProgram(), in the order every Shader follows.
class GeometryShader {
public:
    virtual ~GeometryShader();

    GeometryShader(const GeometryShader&) = delete;
    GeometryShader& operator=(const GeometryShader&) = delete;

    // Links, then validates in the state of the moment; failures are printed.
    void linkProgram();

    ProgramObject program;
    ShaderObject shaders[3];  // vertex, geometry, fragment: attach order

protected:
    explicit GeometryShader(const std::string& stem);

    virtual void bindAttributes() = 0;
    virtual void getAllUniformLocations() = 0;

    // bindAttributes(), linkProgram(), getAllUniformLocations().
    void buildProgram();

    void bindAttribute(GLuint index, const char* name);
    GLint getUniformLocation(const char* name);
};

}  // namespace nox::main
