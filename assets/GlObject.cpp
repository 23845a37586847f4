#include "assets/GlObject.h"

namespace nox::gl {

void deleteTexture(GLuint name) {
    glDeleteTextures(1, &name);
}

void deleteBuffer(GLuint name) {
    glDeleteBuffers(1, &name);
}

void deleteVertexArray(GLuint name) {
    glDeleteVertexArrays(1, &name);
}

void deleteFramebuffer(GLuint name) {
    glDeleteFramebuffers(1, &name);
}

void deleteRenderbuffer(GLuint name) {
    glDeleteRenderbuffers(1, &name);
}

void deleteProgram(GLuint name) {
    glDeleteProgram(name);
}

void deleteShader(GLuint name) {
    glDeleteShader(name);
}

void deleteQuery(GLuint name) {
    glDeleteQueries(1, &name);
}

GLuint generateTexture() {
    GLuint name = 0;
    glGenTextures(1, &name);
    return name;
}

GLuint generateBuffer() {
    GLuint name = 0;
    glGenBuffers(1, &name);
    return name;
}

GLuint generateVertexArray() {
    GLuint name = 0;
    glGenVertexArrays(1, &name);
    return name;
}

GLuint generateFramebuffer() {
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    return name;
}

GLuint generateRenderbuffer() {
    GLuint name = 0;
    glGenRenderbuffers(1, &name);
    return name;
}

GLuint generateQuery() {
    GLuint name = 0;
    glGenQueries(1, &name);
    return name;
}

}  // namespace nox::gl
