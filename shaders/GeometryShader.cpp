#include "shaders/GeometryShader.h"

#include "shaders/ShaderFunctions.h"

namespace nox::main {

GeometryShader::GeometryShader(const std::string& stem) {
    program = glCreateProgram();
    shaders[0] = compileShader(readShaderSource(stem + ".vert"), GL_VERTEX_SHADER);
    shaders[1] = compileShader(readShaderSource(stem + ".geom"), GL_GEOMETRY_SHADER);
    shaders[2] = compileShader(readShaderSource(stem + ".frag"), GL_FRAGMENT_SHADER);
    for (GLuint stage : shaders) glAttachShader(program, stage);
}

GeometryShader::~GeometryShader() {
    glUseProgram(0);
    for (GLuint stage : shaders) {
        glDetachShader(program, stage);
        glDeleteShader(stage);
    }
    glDeleteProgram(program);
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
