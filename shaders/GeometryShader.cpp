#include "shaders/GeometryShader.h"

#include "shaders/ShaderFunctions.h"

namespace nox::main {

GeometryShader::GeometryShader(const std::string& stem)
    : program(createProgram()),
      shaders{compileStage(stem + ".vert", GL_VERTEX_SHADER), compileStage(stem + ".geom", GL_GEOMETRY_SHADER),
              compileStage(stem + ".frag", GL_FRAGMENT_SHADER)} {
    attachStages(program, {shaders[0], shaders[1], shaders[2]});
}

GeometryShader::~GeometryShader() {
    releaseStages(program, {shaders[0], shaders[1], shaders[2]});
}

void GeometryShader::linkProgram() {
    linkAndValidate(program);
}

void GeometryShader::buildProgram() {
    bindAttributes();
    linkProgram();
    getAllUniformLocations();
}

void GeometryShader::bindAttribute(GLuint index, const char* name) {
    glBindAttribLocation(program, index, name);
}

GLint GeometryShader::getUniformLocation(const char* name) {
    return glGetUniformLocation(program, name);
}

}  // namespace nox::main
