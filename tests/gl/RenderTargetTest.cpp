#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include "app/DisplayConfig.h"
#include "postprocessing/RenderTarget.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::AttachmentKind;
using nox::RenderTarget;
using nox::test::integer;

glm::ivec4 viewport() {
    glm::ivec4 v;
    glGetIntegerv(GL_VIEWPORT, &v[0]);
    return v;
}

const glm::ivec4 wholeWindow(0, 0, nox::activeDisplay.windowWidth, nox::activeDisplay.windowHeight);

GLint attachedName(GLuint framebuffer, GLenum attachment) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    GLint name = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return name;
}

GLint textureParameter(GLuint texture, GLenum parameter) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

GLint textureLevelParameter(GLuint texture, GLenum parameter) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    return value;
}

class RenderTargetTest : public testing::Test {
protected:
    void SetUp() override { glViewport(wholeWindow.x, wholeWindow.y, wholeWindow.z, wholeWindow.w); }
    void TearDown() override { EXPECT_EQ(nox::test::glErrorReport(), ""); }
};

TEST_F(RenderTargetTest, ANewTargetHasAFramebufferAndNothingAttached) {
    RenderTarget target(64, 32);
    EXPECT_NE(target.framebuffer, 0u);
    EXPECT_TRUE(target.colourAttachments.empty());
    EXPECT_TRUE(target.colourAttachmentKinds.empty());
    EXPECT_EQ(target.depthAttachment, 0u);
    EXPECT_EQ(target.depthAttachmentKind, AttachmentKind::Texture);
    EXPECT_TRUE(target.boundTargets.empty());
}

TEST_F(RenderTargetTest, ColourIndicesCountColourAttachmentsOnlyAndAllAreDrawn) {
    RenderTarget target(64, 32);
    target.addDepthTexture();
    for (int i = 0; i < 3; ++i) target.addColourTexture();
    target.setDrawBuffers();
    ASSERT_EQ(target.colourAttachments.size(), 3u);
    for (GLenum i = 0; i < 3; ++i) {
        EXPECT_EQ(attachedName(target.framebuffer, GL_COLOR_ATTACHMENT0 + i),
                  static_cast<GLint>(target.colourAttachments[i]));
    }
    EXPECT_EQ(attachedName(target.framebuffer, GL_DEPTH_ATTACHMENT), static_cast<GLint>(target.depthAttachment));

    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    for (GLenum i = 0; i < 3; ++i)
        EXPECT_EQ(integer(GL_DRAW_BUFFER0 + i), static_cast<GLint>(GL_COLOR_ATTACHMENT0 + i));
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    // Every building step undoes its own binding.
    EXPECT_TRUE(target.boundTargets.empty());
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
}

TEST_F(RenderTargetTest, WithoutColourNothingIsDrawnButDepth) {
    RenderTarget target(64, 32);
    target.addDepthRenderbuffer();
    target.setDrawBuffers();
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    EXPECT_EQ(integer(GL_DRAW_BUFFER0), static_cast<GLint>(GL_NONE));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(RenderTargetTest, AttachmentsHaveTheirFormatsFiltersAndWraps) {
    RenderTarget textures(64, 32);
    textures.addDepthTexture();
    textures.addColourTexture();
    const GLuint colour = textures.colourAttachments[0];
    EXPECT_EQ(textureLevelParameter(colour, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);
    EXPECT_EQ(textureLevelParameter(colour, GL_TEXTURE_WIDTH), 64);
    EXPECT_EQ(textureLevelParameter(colour, GL_TEXTURE_HEIGHT), 32);
    EXPECT_EQ(textureParameter(colour, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(colour, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(colour, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(textureParameter(colour, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(textures.colourAttachmentKinds[0], AttachmentKind::Texture);

    const GLuint depth = textures.depthAttachment;
    EXPECT_EQ(textureLevelParameter(depth, GL_TEXTURE_INTERNAL_FORMAT), GL_DEPTH_COMPONENT24);
    EXPECT_EQ(textureParameter(depth, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(depth, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textures.depthAttachmentKind, AttachmentKind::Texture);
    glBindTexture(GL_TEXTURE_2D, 0);

    RenderTarget renderbuffer(64, 32);
    renderbuffer.addDepthRenderbuffer();
    EXPECT_EQ(renderbuffer.depthAttachmentKind, AttachmentKind::Renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer.depthAttachment);
    GLint format = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_INTERNAL_FORMAT, &format);
    EXPECT_EQ(format, GL_DEPTH_COMPONENT24);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

TEST_F(RenderTargetTest, DrawingUsesTheTargetsSizeAndUnbindGivesTheWindowBack) {
    RenderTarget target(64, 32);
    target.addColourTexture();
    target.setDrawBuffers();
    target.bindForDrawing();
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), static_cast<GLint>(target.framebuffer));
    EXPECT_EQ(viewport(), glm::ivec4(0, 0, 64, 32));
    target.unbind();
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(viewport(), wholeWindow);
    EXPECT_TRUE(target.boundTargets.empty());

    // The size fields steer later draw bindings, not the attachments.
    target.width = 16;
    target.height = 8;
    target.bindForDrawing();
    EXPECT_EQ(viewport(), glm::ivec4(0, 0, 16, 8));
    target.unbind();
    EXPECT_EQ(textureLevelParameter(target.colourAttachments[0], GL_TEXTURE_WIDTH), 64);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(RenderTargetTest, AReadBindingLeavesTheViewportAlone) {
    RenderTarget target(64, 32);
    target.addColourTexture();
    target.setDrawBuffers();
    glViewport(3, 4, 50, 60);
    target.bindForReading();
    EXPECT_EQ(integer(GL_READ_FRAMEBUFFER_BINDING), static_cast<GLint>(target.framebuffer));
    target.unbind();
    EXPECT_EQ(integer(GL_READ_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(viewport(), glm::ivec4(3, 4, 50, 60));
}

TEST_F(RenderTargetTest, EveryBindingIsRecordedAndUndone) {
    RenderTarget target(64, 32);
    target.addColourTexture();
    target.setDrawBuffers();
    target.bindForDrawing();
    target.bindForReading();
    target.bindForDrawing();
    EXPECT_EQ(target.boundTargets,
              (std::vector<GLenum>{GL_DRAW_FRAMEBUFFER, GL_READ_FRAMEBUFFER, GL_DRAW_FRAMEBUFFER}));
    target.unbind();
    EXPECT_TRUE(target.boundTargets.empty());
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_READ_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(viewport(), wholeWindow);
}

TEST_F(RenderTargetTest, DestructionDeletesEachAttachmentByItsKind) {
    GLuint framebuffer = 0, colour = 0, depthTexture = 0, depthRenderbuffer = 0;
    {
        RenderTarget withTexture(8, 8);
        withTexture.addDepthTexture();
        withTexture.addColourTexture();
        RenderTarget withRenderbuffer(8, 8);
        withRenderbuffer.addDepthRenderbuffer();
        framebuffer = withTexture.framebuffer;
        colour = withTexture.colourAttachments[0];
        depthTexture = withTexture.depthAttachment;
        depthRenderbuffer = withRenderbuffer.depthAttachment;
        ASSERT_TRUE(glIsTexture(depthTexture));
        ASSERT_TRUE(glIsRenderbuffer(depthRenderbuffer));
    }
    EXPECT_FALSE(glIsFramebuffer(framebuffer));
    EXPECT_FALSE(glIsTexture(colour));
    EXPECT_FALSE(glIsTexture(depthTexture));
    EXPECT_FALSE(glIsRenderbuffer(depthRenderbuffer));
}

}  // namespace
