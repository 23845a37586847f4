#include "shaders/ShaderFunctions.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

namespace nox::main {

namespace {

constexpr GLsizei infoLogSize = 1024;

// Stages that draw nothing: every vertex lies outside the clip volume, every
// fragment is discarded and the compute stage does no work.
const char* const inertVertexSource = "#version 430 core\nvoid main() { gl_Position = vec4(2.0, 2.0, 2.0, 1.0); }\n";
const char* const inertFragmentSource = "#version 430 core\nvoid main() { discard; }\n";
const char* const inertComputeSource = "#version 430 core\nlayout(local_size_x = 1) in;\nvoid main() {}\n";

std::vector<GLuint> attachedShaders(GLuint program) {
    GLint count = 0;
    glGetProgramiv(program, GL_ATTACHED_SHADERS, &count);
    std::vector<GLuint> shaders(static_cast<size_t>(count));
    if (count > 0) glGetAttachedShaders(program, count, nullptr, shaders.data());
    return shaders;
}

bool hasComputeStage(const std::vector<GLuint>& shaders) {
    for (GLuint shader : shaders) {
        GLint type = 0;
        glGetShaderiv(shader, GL_SHADER_TYPE, &type);
        if (type == GL_COMPUTE_SHADER) return true;
    }
    return false;
}

// Using a program that failed to link makes every glUseProgram, glUniform and
// dispatch a GL error, and the draws then run without a program, which in a
// compatibility context paints untransformed geometry over the picture (a
// failed sky shader turned the whole frame white). The program is therefore
// linked once more, from stages that draw nothing. A linked program keeps its
// executable when its stages are detached, so the failed stages are attached
// again afterwards: they stay the owner's, who detaches and deletes them.
void linkInert(GLuint program) {
    const std::vector<GLuint> failedStages = attachedShaders(program);
    for (GLuint stage : failedStages) glDetachShader(program, stage);
    std::vector<std::pair<GLenum, const char*>> inertStages{{GL_VERTEX_SHADER, inertVertexSource},
                                                            {GL_FRAGMENT_SHADER, inertFragmentSource}};
    if (hasComputeStage(failedStages)) inertStages = {{GL_COMPUTE_SHADER, inertComputeSource}};
    std::vector<ShaderObject> inert;
    for (const auto& [type, source] : inertStages) {
        const GLuint stage = inert.emplace_back(glCreateShader(type));
        glShaderSource(stage, 1, &source, nullptr);
        glCompileShader(stage);
        glAttachShader(program, stage);
    }
    glLinkProgram(program);
    for (GLuint stage : inert) glDetachShader(program, stage);
    for (GLuint stage : failedStages) glAttachShader(program, stage);
}

}  // namespace

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

std::string readShaderSource(const std::string& path) {
    static const std::string directive = "#include \"";
    const std::string text = readShaderFile(path);
    const std::string directory = path.substr(0, path.find_last_of('/') + 1);
    std::string source;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const size_t nameEnd = line.rfind('"');
        if (line.rfind(directive, 0) != 0 || nameEnd < directive.size()) {
            source += line + '\n';
            continue;
        }
        const std::string name = line.substr(directive.size(), nameEnd - directive.size());
        source += "#line 1 1\n" + readShaderFile(directory + name) + "#line " + std::to_string(number + 1) + " 0\n";
    }
    return source;
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

ProgramObject createProgram() {
    return ProgramObject(glCreateProgram());
}

ShaderObject compileStage(const std::string& path, GLenum type) {
    return ShaderObject(compileShader(readShaderSource(path), type));
}

void attachStages(GLuint program, std::initializer_list<GLuint> stages) {
    for (GLuint stage : stages) glAttachShader(program, stage);
}

void releaseStages(GLuint program, std::initializer_list<GLuint> stages) {
    glUseProgram(0);
    for (GLuint stage : stages) glDetachShader(program, stage);
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
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == 0) linkInert(program);
}

std::string uniformArrayName(const char* prefix, int index) {
    return prefix + std::to_string(index) + "]";
}

}  // namespace nox::main
