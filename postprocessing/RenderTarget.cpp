#include "postprocessing/RenderTarget.h"

#include "app/DisplayConfig.h"

namespace nox {

RenderTarget::RenderTarget(int width, int height)
    : width(width), height(height), framebuffer(gl::generateFramebuffer()) {}

void RenderTarget::bindForDrawing() {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    boundTargets.push_back(GL_DRAW_FRAMEBUFFER);
    glViewport(0, 0, width, height);
}

void RenderTarget::bindForReading() {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    boundTargets.push_back(GL_READ_FRAMEBUFFER);
}

void RenderTarget::unbind() {
    for (GLenum target : boundTargets) {
        glBindFramebuffer(target, 0);
        if (target == GL_DRAW_FRAMEBUFFER) glViewport(0, 0, activeDisplay.windowWidth, activeDisplay.windowHeight);
    }
    boundTargets.clear();
}

void RenderTarget::bindForBuilding() {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    boundTargets.push_back(GL_FRAMEBUFFER);
}

void RenderTarget::addColourTexture() {
    bindForBuilding();
    const GLuint id = colourAttachments.emplace_back(gl::generateTexture());
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    const auto index = static_cast<GLenum>(colourAttachments.size() - 1);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + index, GL_TEXTURE_2D, id, 0);
    colourAttachmentKinds.push_back(AttachmentKind::Texture);
    unbind();
}

void RenderTarget::addDepthTexture() {
    bindForBuilding();
    depthTexture = TextureObject(gl::generateTexture());
    depthAttachment = depthTexture;
    glBindTexture(GL_TEXTURE_2D, depthAttachment);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width, height, 0, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depthAttachment, 0);
    depthAttachmentKind = AttachmentKind::Texture;
    unbind();
}

void RenderTarget::addDepthRenderbuffer() {
    bindForBuilding();
    depthRenderbuffer = RenderbufferObject(gl::generateRenderbuffer());
    depthAttachment = depthRenderbuffer;
    glBindRenderbuffer(GL_RENDERBUFFER, depthAttachment);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthAttachment);
    depthAttachmentKind = AttachmentKind::Renderbuffer;
    unbind();
}

void RenderTarget::setDrawBuffers() {
    bindForBuilding();
    if (colourAttachments.empty()) {
        glDrawBuffer(GL_NONE);
    } else {
        std::vector<GLenum> buffers(colourAttachments.size());
        for (size_t i = 0; i < buffers.size(); ++i) buffers[i] = GL_COLOR_ATTACHMENT0 + static_cast<GLenum>(i);
        glDrawBuffers(static_cast<GLsizei>(buffers.size()), buffers.data());
    }
    unbind();
}

}  // namespace nox
