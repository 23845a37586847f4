// The sky faces and the moon, as the passes draw them; in the scene pass the
// moon is counted for its flare as it is drawn.
#include "app/Scene.h"

#include "app/SceneSetUp.h"
#include "shapes/ShapeTextureShader.h"
#include "shapes/Skybox.h"

namespace nox {

using namespace setUp;

namespace {

// The faces with the sky's scales; leaves the ShapeTextureShader in use.
void drawSkyFaces(const SkyQuads& quads) {
    shapes::ShapeTextureShader& shader = shapes::getShapeTextureShader();
    shapes::Skybox& skybox = shapes::getSkybox();
    glUseProgram(shader.program);
    glUniform4fv(shader.outColorScale, 1, &skyColourScale[0]);
    glUniform4fv(shader.lightColorScale, 1, &skyLightScale[0]);
    shader.loadViewMatrix();
    for (int face = 0; face < Scene::skyFaceCount; ++face) {
        skybox.renderTexturedShape(quads[face], skyTextureIndex(face));
    }
}

// The bright moon; expects the ShapeTextureShader in use and leaves it so.
void drawMoon(const SkyQuads& quads) {
    shapes::ShapeTextureShader& shader = shapes::getShapeTextureShader();
    glUniform4fv(shader.outColorScale, 1, &moonColourScale[0]);
    glUniform4fv(shader.lightColorScale, 1, &moonLightScale[0]);
    shapes::getSkybox().renderTexturedShape(quads[Scene::moonQuad], skyTextureIndex(Scene::moonQuad));
}

}  // namespace

void renderSkyFaces(const SkyQuads& quads) {
    drawSkyFaces(quads);
    glUseProgram(0);
}

void renderSky(const SkyQuads& quads) {
    drawSkyFaces(quads);
    drawMoon(quads);
    glUseProgram(0);
}

void Scene::drawSky() {
    drawSkyFaces(quads);
    countFrontFacesOnly();
    queries[moonVisible].begin();
    drawMoon(quads);
    queries[moonVisible].end();
    glUseProgram(0);
}

}  // namespace nox
