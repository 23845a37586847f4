#pragma once

#include <array>
#include <vector>

#include "app/CameraPath.h"
#include "postprocessing/RenderTarget.h"
#include "shapes/Shape.h"
#include "terrain/Light.h"
#include "terrain/Terrain.h"
#include "water/WaterRenderer.h"
#include "water/WaterTile.h"

namespace nox {

// The objects the frame is composed from, built once after the window opens
// and released, in reverse order, before the context goes away.
class Scene {
public:
    static constexpr int skyFaceCount = 6;
    static constexpr int moonQuad = 6;  // index of the moon among `quads`
    static constexpr float waterHeight = 20.0f;
    // The water passes keep a thin band beyond the surface, so the two images
    // meet under the ripples without a gap.
    static constexpr float clipMargin = 0.2f;

    Scene();

    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Draws one frame into the window's back buffer.
    void render();

    // Every frame: the targets' viewport size goes back to the display size.
    void resetTargetSizes();

    // The passes of render(), in frame order.
    void refractionPass();
    void reflectionPass();
    void scenePass();
    void present();

    terrain::Terrain terrain;
    shapes::Shape lightCube1;
    shapes::Shape lightCube2;
    std::vector<Light> lights;
    RenderTarget reflectionTarget;  // depth renderbuffer + colour
    RenderTarget refractionTarget;  // depth texture + colour
    water::WaterRenderer water;
    std::vector<water::WaterTile> waterTiles;
    RenderTarget sceneTarget;  // depth texture + picture, (unused), god-ray highlight
    std::array<shapes::Shape, skyFaceCount + 1> quads;  // front, back, right, left, bottom, top, moon
    CameraPath cameraPath;
    // Skips the model instances that cannot be seen in a pass: the same
    // picture, for less work.
    bool cullModels = true;
    const float clipAbove = waterHeight + clipMargin;
    const float clipBelow = -waterHeight - clipMargin;

private:
    void uploadModelLights();
    void drawModels(const glm::vec4& clipPlane);
    void drawTerrain(const glm::vec4& clipPlane);
    void drawWater();
    void drawLightCubes();
};

using SkyQuads = std::array<shapes::Shape, Scene::skyFaceCount + 1>;

// The six sky faces and the moon, placed around the world origin.
SkyQuads placeSkyQuads();

// The skybox texture each of the scene's quads shows.
unsigned skyTextureIndex(int quad);

// Draws the six dim sky faces.
void renderSkyFaces(const SkyQuads& quads);

// Draws the dim sky faces, then the bright moon, as the scene pass does.
void renderSky(const SkyQuads& quads);

}  // namespace nox
