#include "shaders/ComputeShader.h"

#include "shaders/ShaderFunctions.h"

namespace nox::main {

ComputeShader::ComputeShader(const std::string& stem)
    : program(createProgram()), shader(compileStage(stem + ".comp", GL_COMPUTE_SHADER)) {
    attachStages(program, {shader});
}

ComputeShader::~ComputeShader() {
    releaseStages(program, {shader});
}

void ComputeShader::linkProgram() {
    linkAndValidate(program);
}

GLint ComputeShader::getUniformLocation(const char* name) {
    return glGetUniformLocation(program, name);
}

}  // namespace nox::main
