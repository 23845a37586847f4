#pragma once

#include <array>
#include <vector>

#include "app/CameraPath.h"
#include "shapes/Shape.h"
#include "terrain/Light.h"
#include "terrain/Terrain.h"

namespace nox {

// The objects the frame is composed from, built once after the window opens
// and released, in reverse order, before the context goes away.
class Scene {
public:
    static constexpr int skyFaceCount = 6;
    static constexpr int moonQuad = 6;  // index of the moon among `quads`

    Scene();

    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Draws one frame into the window's back buffer.
    void render();

    terrain::Terrain terrain;
    shapes::Shape lightCube1;
    shapes::Shape lightCube2;
    std::vector<Light> lights;
    std::array<shapes::Shape, skyFaceCount + 1> quads;  // front, back, right, left, bottom, top, moon
    CameraPath cameraPath;

private:
    void uploadModelLights();
    void drawModels();
    void drawTerrain();
    void drawLightCubes();
};

using SkyQuads = std::array<shapes::Shape, Scene::skyFaceCount + 1>;

// The six sky faces and the moon, placed around the world origin.
SkyQuads placeSkyQuads();

// The skybox texture each of the scene's quads shows.
unsigned skyTextureIndex(int quad);

// Draws the dim sky faces, then the bright moon, as the scene pass does.
void renderSky(const SkyQuads& quads);

}  // namespace nox
