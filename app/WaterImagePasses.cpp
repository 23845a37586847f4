// The two images the water shows: what lies below its surface, and what lies
// above it seen from the camera's mirror image. Each draws only the part of
// its image that the water in view can look up.
#include "app/Scene.h"

#include "app/Camera.h"
#include "app/CameraMirror.h"
#include "app/Transform.h"

namespace nox {

// What lies below the surface, for the lake bed seen through the water.
// Only the part of each water image that the visible water can look up is
// drawn: the rest of the image is never read.
ScreenRegion Scene::visibleWater() const {
    if (!cullWaterImages) return ScreenRegion{};
    return waterRegion(terrain.chunks, terrain.position, waterHeight, projection * getViewMatrix())
        .grown(waterLookupReach);
}

void Scene::limitPassTo(const ScreenRegion& region, const RenderTarget& target) {
    passRegion = region.empty() ? glm::mat4(1.0f) : region.cullingMatrix();
    const glm::ivec4 box = region.pixels(target.width, target.height);
    glEnable(GL_SCISSOR_TEST);
    glScissor(box.x, box.y, box.z, box.w);
}

void Scene::endLimitedPass() {
    passRegion = glm::mat4(1.0f);
    glDisable(GL_SCISSOR_TEST);
}

void Scene::refractionPass() {
    const ScreenRegion region = visibleWater();
    glEnable(GL_CLIP_DISTANCE0);
    refractionTarget.bindForDrawing();
    limitPassTo(region, refractionTarget);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!region.empty()) drawTerrain(glm::vec4(0.0f, -1.0f, 0.0f, clipAbove));
    endLimitedPass();
    refractionTarget.unbind();
    glDisable(GL_CLIP_DISTANCE0);
}

// What lies above the surface, seen from the camera's mirror image below it.
void Scene::reflectionPass() {
    const glm::vec4 keepAbove(0.0f, 1.0f, 0.0f, clipBelow);
    // The water looks its reflection up upside down.
    const ScreenRegion region = visibleWater().mirrored();
    glEnable(GL_CLIP_DISTANCE0);
    reflectionTarget.bindForDrawing();
    limitPassTo(region, reflectionTarget);
    {
        const CameraMirror mirror(getCamera(), waterHeight);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (!region.empty()) {
            drawModels(keepAbove);
            renderSkyFaces(quads);
            drawTerrain(keepAbove);
        }
    }
    endLimitedPass();
    reflectionTarget.unbind();
    glDisable(GL_CLIP_DISTANCE0);
}

}  // namespace nox
