#pragma once

#include <vector>

#include <GL/glew.h>

#include "postprocessing/RenderTarget.h"

namespace nox::postprocessing {

// Base of every full-screen effect: the effect's own image and the inputs a
// caller hands to its next pass. Inputs are pushed, one pass consumes them,
// and the lists are emptied (keeping their storage) when the pass ends.
//
// A pass expects the shared quad's vertex array bound with attribute 0
// enabled and depth testing off; it leaves program 0 current and does not
// restore the texture units it bound.
class PostProcesser {
public:
    // Runs the effect over the current inputs into `renderTarget`.
    virtual void render() = 0;
    // Runs the effect over the current inputs into the window.
    virtual void renderToScreen() = 0;

    // What the last render() drew.
    GLuint output() const { return renderTarget.colourAttachments[0]; }

    RenderTarget renderTarget;
    std::vector<GLuint> inputTextures;  // element i goes to texture unit i
    std::vector<float> inputValues;

protected:
    // The effect's image: one colour texture of the display size.
    PostProcesser();
    // Effects are destroyed through their Shader part or as members of the
    // chain, never through this base.
    ~PostProcesser() = default;

    PostProcesser(const PostProcesser&) = delete;
    PostProcesser& operator=(const PostProcesser&) = delete;

    // Binds inputTextures[0 .. count-1] to units 0 .. count-1.
    void bindInputTextures(int count);
    // Clears and covers `renderTarget` with the bound quad.
    void drawIntoTarget();
    // Clears and covers the window with the bound quad; the viewport is
    // already the window's, restored by the previous pass's unbind().
    void drawIntoWindow();
    // Program 0 and empty input lists, as every pass ends.
    void endPass();
};

}  // namespace nox::postprocessing
