#pragma once

#include <utility>

#include <GL/glew.h>

namespace nox {

namespace gl {
// Each deletes one object of its kind; the only places that do.
void deleteTexture(GLuint name);
void deleteBuffer(GLuint name);
void deleteVertexArray(GLuint name);
void deleteFramebuffer(GLuint name);
void deleteRenderbuffer(GLuint name);
void deleteProgram(GLuint name);
void deleteShader(GLuint name);
void deleteQuery(GLuint name);
void deleteSampler(GLuint name);

// A new name of each kind the GL generates.
GLuint generateTexture();
GLuint generateBuffer();
GLuint generateVertexArray();
GLuint generateFramebuffer();
GLuint generateRenderbuffer();
GLuint generateQuery();
GLuint generateSampler();
}  // namespace gl

// The one owner of a GL object: deletes it when destroyed, hands it on when
// moved and is never copied. The name stays readable wherever a name is
// expected; code that merely uses the object holds the plain name.
template <void (*destroy)(GLuint)>
class GlObject {
public:
    GlObject() = default;
    // Takes ownership of `name` (0 owns nothing).
    explicit GlObject(GLuint name) noexcept : name(name) {}
    ~GlObject() { reset(); }

    GlObject(GlObject&& other) noexcept : name(std::exchange(other.name, 0)) {}
    GlObject& operator=(GlObject&& other) noexcept {
        if (this != &other) {
            reset();
            name = std::exchange(other.name, 0);
        }
        return *this;
    }
    GlObject(const GlObject&) = delete;
    GlObject& operator=(const GlObject&) = delete;

    operator GLuint() const noexcept { return name; }
    GLuint id() const noexcept { return name; }

    // Deletes the object now; the owner then holds nothing.
    void reset() noexcept {
        if (name != 0) destroy(name);
        name = 0;
    }

private:
    GLuint name = 0;
};

using TextureObject = GlObject<gl::deleteTexture>;
using BufferObject = GlObject<gl::deleteBuffer>;
using VertexArrayObject = GlObject<gl::deleteVertexArray>;
using FramebufferObject = GlObject<gl::deleteFramebuffer>;
using RenderbufferObject = GlObject<gl::deleteRenderbuffer>;
using ProgramObject = GlObject<gl::deleteProgram>;
using ShaderObject = GlObject<gl::deleteShader>;
using QueryObject = GlObject<gl::deleteQuery>;
using SamplerObject = GlObject<gl::deleteSampler>;

}  // namespace nox
