#include "assets/GlObject.h"

namespace nox::gl {

namespace {

// The GL's glGen* and glDelete* entry points take counts and arrays; these
// objects come and go one at a time.
using NamesFunction = void(GLAPIENTRY*)(GLsizei, GLuint*);
using ConstNamesFunction = void(GLAPIENTRY*)(GLsizei, const GLuint*);

GLuint generateOne(NamesFunction generate) {
    GLuint name = 0;
    generate(1, &name);
    return name;
}

void deleteOne(ConstNamesFunction release, GLuint name) {
    release(1, &name);
}

}  // namespace

void deleteTexture(GLuint name) {
    deleteOne(glDeleteTextures, name);
}

void deleteBuffer(GLuint name) {
    deleteOne(glDeleteBuffers, name);
}

void deleteVertexArray(GLuint name) {
    deleteOne(glDeleteVertexArrays, name);
}

void deleteFramebuffer(GLuint name) {
    deleteOne(glDeleteFramebuffers, name);
}

void deleteRenderbuffer(GLuint name) {
    deleteOne(glDeleteRenderbuffers, name);
}

void deleteQuery(GLuint name) {
    deleteOne(glDeleteQueries, name);
}

void deleteSampler(GLuint name) {
    deleteOne(glDeleteSamplers, name);
}

void deleteProgram(GLuint name) {
    glDeleteProgram(name);
}

void deleteShader(GLuint name) {
    glDeleteShader(name);
}

GLuint generateTexture() {
    return generateOne(glGenTextures);
}

GLuint generateBuffer() {
    return generateOne(glGenBuffers);
}

GLuint generateVertexArray() {
    return generateOne(glGenVertexArrays);
}

GLuint generateFramebuffer() {
    return generateOne(glGenFramebuffers);
}

GLuint generateRenderbuffer() {
    return generateOne(glGenRenderbuffers);
}

GLuint generateQuery() {
    return generateOne(glGenQueries);
}

GLuint generateSampler() {
    return generateOne(glGenSamplers);
}

}  // namespace nox::gl
