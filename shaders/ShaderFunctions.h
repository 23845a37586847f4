#pragma once

#include <initializer_list>
#include <string>

#include <GL/glew.h>

#include "assets/GlObject.h"

namespace nox::main {

// The whole text of a source file, every line followed by "\n". Because the
// stream state is tested before each read, a file that ends with a newline gets
// one extra "\n" and an empty file gives exactly one. A file that cannot be
// opened prints "Unable to load shader: " + path and gives "".
std::string readShaderFile(const std::string& path);

// A stage's source: the file as readShaderFile reads it, with each line
// '#include "NAME"' replaced by the file NAME beside it, read the same way.
// The lines of an included file count as source string 1 in the compiler's
// messages, the including file's as string 0. A missing included file is
// reported as readShaderFile reports it; its line is left out.
std::string readShaderSource(const std::string& path);

// Creates and compiles one stage; the object is returned even when compiling
// failed (the failure is printed), so the caller can still attach it.
GLuint compileShader(const std::string& source, GLenum type);

// What every program base does with its program and stages, said once: a new
// program; one stage read from `path` (readShaderSource) and compiled; the
// stages attached in order; and, before the owners delete them, the program
// taken out of use and its stages detached.
ProgramObject createProgram();
ShaderObject compileStage(const std::string& path, GLenum type);
void attachStages(GLuint program, std::initializer_list<GLuint> stages);
void releaseStages(GLuint program, std::initializer_list<GLuint> stages);

// Prints message + ": '" + info log + "'" on standard error when the status is zero.
void checkShaderError(GLuint object, GLenum status, bool isProgram, const std::string& message);

// Links the program, then validates it in the GL state of the moment; each
// failure is printed as checkShaderError prints it. A program that failed to
// link is then linked from stages that draw nothing, with its own stages still
// attached, so that its users can go on without GL errors. Every program
// base's linkProgram is this.
void linkAndValidate(GLuint program);

// The name of element `index` of a uniform array: prefix + index + "]", for
// a prefix such as "lightPosition[".
std::string uniformArrayName(const char* prefix, int index);

}  // namespace nox::main
