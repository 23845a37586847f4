#pragma once

#include <string>

#include "postprocessing/PostProcesser.h"
#include "shaders/Shader.h"

namespace nox::postprocessing {

// An effect drawn by one vertex + fragment program over the full-screen quad,
// reading inputTextures[0 .. textureCount-1]. A concrete effect passes its
// stage stem up, then in its own constructor calls buildProgram() and sets its
// one-time uniforms with the program in use.
template <int textureCount>
class InputEffect : public PostProcesser, public main::Shader {
public:
    void render() override {
        beginPass();
        drawIntoTarget();
        endPass();
    }

    void renderToScreen() override {
        beginPass();
        drawIntoWindow();
        endPass();
    }

protected:
    explicit InputEffect(const std::string& stem) : Shader(stem) {}

    void bindAttributes() override { bindAttribute(0, "position"); }

    // Uniforms that change from pass to pass; the program is in use.
    virtual void setPassUniforms() {}

    void beginPass() {
        glUseProgram(program);
        setPassUniforms();
        bindInputTextures(textureCount);
    }
};

// One input image: contrast, the mean blurs, the god-ray blur, the centred
// polar transforms.
using SingleInputEffect = InputEffect<1>;

// Two input images: the combiner and the depth-of-field passes.
using TwoInputEffect = InputEffect<2>;

// One input image, transformed about a point handed over for every pass as
// inputValues[0], inputValues[1] through the vec2 uniform "center".
class PointCentredEffect : public SingleInputEffect {
protected:
    using SingleInputEffect::SingleInputEffect;

    void setPassUniforms() override { glUniform2f(center, inputValues[0], inputValues[1]); }

    GLint center = -1;
};

}  // namespace nox::postprocessing
