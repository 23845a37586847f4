#pragma once

#include <vector>

#include <GL/glew.h>

#include "assets/GlObject.h"

namespace nox {

enum class AttachmentKind { Texture = 0, Renderbuffer = 1 };

// One framebuffer with the images attached to it. The target owns the
// framebuffer and every attachment and deletes them with itself; it is never
// copied. `boundTargets` records each binding point bound to the framebuffer
// since the last unbind(), so that unbind() can undo exactly those.
class RenderTarget {
public:
    RenderTarget(int width, int height);

    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Draws go here from now on, over a viewport of the target's size.
    void bindForDrawing();
    // Reads and blits take their pixels from here; the viewport stays.
    void bindForReading();
    // Binds 0 to every recorded binding point. After a draw binding the
    // viewport goes back to the whole window, whatever the target's size.
    void unbind();

    // Building steps: the depth attachment first where there is one, then the
    // colour textures, then setDrawBuffers() once.
    void addColourTexture();
    void addDepthTexture();
    void addDepthRenderbuffer();
    void setDrawBuffers();

    int width;
    int height;
    FramebufferObject framebuffer;
    std::vector<TextureObject> colourAttachments;  // element i is GL_COLOR_ATTACHMENT0 + i
    std::vector<AttachmentKind> colourAttachmentKinds;
    GLuint depthAttachment = 0;  // the name of whichever of the two below is attached
    AttachmentKind depthAttachmentKind = AttachmentKind::Texture;
    std::vector<GLenum> boundTargets;

private:
    void bindForBuilding();

    TextureObject depthTexture;
    RenderbufferObject depthRenderbuffer;
};

}  // namespace nox
