// How much of each light source the camera sees: its samples counted once
// with nothing in front (here) and once in the scene (by the scene pass), read
// back a frame later.
#include "app/Scene.h"

#include "app/Camera.h"
#include "app/SceneSetUp.h"
#include "shapes/ShapeShader.h"
#include "shapes/Skybox.h"

namespace nox {

using namespace setUp;

// A light source's two counts must see the same faces of it, whatever the
// draw before left behind: the front faces only, as the picture shows them.
void Scene::countFrontFacesOnly() {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
}

void Scene::useLampColouredShapes() {
    shapes::ShapeShader& shader = shapes::getShapeShader();
    glUseProgram(shader.program);
    glUniform4f(shader.color, lightColour.r, lightColour.g, lightColour.b, 1.0f);
    shader.loadViewMatrix();
}

void Scene::readOcclusionResults() {
    for (Query query : {cube1Total, cube2Total, moonTotal, cube1Visible, cube2Visible, moonVisible}) {
        queries[query].readResult();
    }
}

// The moon is drawn exactly as the scene pass draws it, turned to face the
// camera, so that its two counts measure the same shape.
void Scene::queryPass() {
    sceneTarget.bindForDrawing();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    countFrontFacesOnly();
    useLampColouredShapes();
    queries[cube1Total].begin();
    shapes::renderShapeWithoutDepth(lightCube1);
    queries[cube1Total].end();
    queries[cube2Total].begin();
    shapes::renderShapeWithoutDepth(lightCube2);
    queries[cube2Total].end();
    const shapes::Shape& moonShape = quads[moonQuad];
    queries[moonTotal].begin();
    shapes::renderShapeWithoutDepth(moonShape, shapes::billboardMatrix(moonShape, getViewMatrix()));
    queries[moonTotal].end();
    glUseProgram(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sceneTarget.unbind();
}

std::optional<float> Scene::flareBrightness(LightSource source) const {
    const GLint visible = queries[sourceQueries[source].visible].samples;
    const GLint total = queries[sourceQueries[source].total].samples;
    if (visible <= 0 || total <= 0) return std::nullopt;
    return static_cast<float>(visible) / static_cast<float>(total);
}

}  // namespace nox
