#include "postprocessing/PostProcesser.h"

#include "app/DisplayConfig.h"

namespace nox::postprocessing {

namespace {
constexpr GLsizei quadVertices = 6;
}  // namespace

PostProcesser::PostProcesser() : renderTarget(activeDisplay.windowWidth, activeDisplay.windowHeight) {
    renderTarget.addColourTexture();
    renderTarget.setDrawBuffers();
}

void PostProcesser::bindInputTextures(int count) {
    for (int unit = 0; unit < count; ++unit) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        glBindTexture(GL_TEXTURE_2D, inputTextures[static_cast<size_t>(unit)]);
    }
}

void PostProcesser::drawIntoTarget() {
    renderTarget.bindForDrawing();
    glClear(GL_COLOR_BUFFER_BIT);
    glDrawArrays(GL_TRIANGLES, 0, quadVertices);
    renderTarget.unbind();
}

void PostProcesser::drawIntoWindow() {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDrawArrays(GL_TRIANGLES, 0, quadVertices);
}

void PostProcesser::endPass() {
    glUseProgram(0);
    inputValues.clear();
    inputTextures.clear();
}

}  // namespace nox::postprocessing
