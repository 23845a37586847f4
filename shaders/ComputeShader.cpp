#include "shaders/ComputeShader.h"

#include "shaders/ShaderFunctions.h"

namespace nox::main {

ComputeShader::ComputeShader(const std::string& stem) {
    program = glCreateProgram();
    shader = compileShader(readShaderSource(stem + ".comp"), GL_COMPUTE_SHADER);
    glAttachShader(program, shader);
}

ComputeShader::~ComputeShader() {
    glUseProgram(0);
    glDetachShader(program, shader);
    glDeleteShader(shader);
    glDeleteProgram(program);
}

void ComputeShader::linkProgram() {
    linkAndValidate(program);
}

GLint ComputeShader::getUniformLocation(const char* name) {
    return glGetUniformLocation(program, name);
}

}  // namespace nox::main
