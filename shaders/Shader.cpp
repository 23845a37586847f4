#include "shaders/Shader.h"

#include <glm/gtc/type_ptr.hpp>

#include "app/Transform.h"
#include "shaders/ShaderFunctions.h"

namespace nox::main {

Shader::Shader(const std::string& stem)
    : program(createProgram()),
      shaders{compileStage(stem + ".vert", GL_VERTEX_SHADER), compileStage(stem + ".frag", GL_FRAGMENT_SHADER)} {
    attachStages(program, {shaders[0], shaders[1]});
}

Shader::~Shader() {
    releaseStages(program, {shaders[0], shaders[1]});
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
