#include "shaders/Shader.h"

#include <glm/gtc/type_ptr.hpp>

#include "app/Transform.h"
#include "shaders/ShaderFunctions.h"

namespace nox::main {

Shader::Shader(const std::string& stem) {
    program = glCreateProgram();
    shaders[0] = compileShader(readShaderSource(stem + ".vert"), GL_VERTEX_SHADER);
    shaders[1] = compileShader(readShaderSource(stem + ".frag"), GL_FRAGMENT_SHADER);
    for (GLuint stage : shaders) glAttachShader(program, stage);
}

Shader::~Shader() {
    glUseProgram(0);
    for (GLuint stage : shaders) {
        glDetachShader(program, stage);
        glDeleteShader(stage);
    }
    glDeleteProgram(program);
}

void Shader::linkProgram() {
    linkAndValidate(program);
}

void Shader::buildProgram() {
    bindAttributes();
    linkProgram();
    getAllUniformLocations();
}

void Shader::loadProjection(GLint location) {
    glUseProgram(program);
    glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(projection));
    glUseProgram(0);
}

void Shader::bindAttribute(GLuint index, const char* name) {
    glBindAttribLocation(program, index, name);
}

GLint Shader::getUniformLocation(const char* name) {
    return glGetUniformLocation(program, name);
}

}  // namespace nox::main
