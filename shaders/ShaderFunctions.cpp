#include "shaders/ShaderFunctions.h"

#include <fstream>
#include <iostream>

namespace nox::main {

namespace {
constexpr GLsizei infoLogSize = 1024;
}

std::string readShaderFile(const std::string& path) {
    std::ifstream file(path);
    if (!file.is_open()) {
        std::cerr << "Unable to load shader: " << path << std::endl;
        return "";
    }
    std::string result;
    std::string line;
    while (file.good()) {
        std::getline(file, line);
        result += line;
        result += '\n';
    }
    return result;
}

GLuint compileShader(const std::string& source, GLenum type) {
    const GLuint id = glCreateShader(type);
    if (id == 0) std::cerr << "Error compiling shader type " << static_cast<unsigned>(type) << std::endl;
    const GLchar* text = source.data();
    const auto length = static_cast<GLint>(source.size());
    glShaderSource(id, 1, &text, &length);
    glCompileShader(id);
    checkShaderError(id, GL_COMPILE_STATUS, false, "Error compiling shader!");
    return id;
}

void checkShaderError(GLuint object, GLenum status, bool isProgram, const std::string& message) {
    GLint success = 0;
    GLchar log[infoLogSize] = {};
    if (isProgram) {
        glGetProgramiv(object, status, &success);
    } else {
        glGetShaderiv(object, status, &success);
    }
    if (success != 0) return;
    if (isProgram) {
        glGetProgramInfoLog(object, infoLogSize, nullptr, log);
    } else {
        glGetShaderInfoLog(object, infoLogSize, nullptr, log);
    }
    std::cerr << message << ": '" << log << "'" << std::endl;
}

void linkAndValidate(GLuint program) {
    glLinkProgram(program);
    checkShaderError(program, GL_LINK_STATUS, true, "Error linking shader program");
    glValidateProgram(program);
    checkShaderError(program, GL_VALIDATE_STATUS, true, "Invalid shader program");
}

std::string uniformArrayName(const char* prefix, int index) {
    return prefix + std::to_string(index) + "]";
}

}  // namespace nox::main
