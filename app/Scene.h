#pragma once

#include <array>
#include <optional>
#include <vector>

#include "app/CameraPath.h"
#include "app/OcclusionQuery.h"
#include "app/ScenePopulation.h"
#include "app/ScreenRegion.h"
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
    // Seen from above, the lake hides whatever lies this far under its
    // surface: the water's shader makes it opaque by 1.2 units of depth.
    static constexpr float opaqueDepth = 1.5f;

    // The occlusion queries, in the order they are generated: each light
    // source's samples that pass the depth test in the scene pass, and all of
    // its samples, counted in a pass of their own.
    enum Query { cube1Visible, cube2Visible, cube1Total, cube2Total, moonVisible, moonTotal, queryCount };
    // The lights that throw lens flares, in the order they are drawn.
    enum LightSource { lamp1, lamp2, moon, lightSourceCount };

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
    // Takes the previous frame's occlusion counts, waiting for them if need be.
    void readOcclusionResults();
    // Counts every sample of each light source, hidden or not; draws nothing
    // that stays.
    void queryPass();
    // The scene into `sceneTarget`, counting what is seen of each light source.
    void scenePass();
    // The god rays over the scene when the moon is in front of the camera,
    // otherwise the scene's picture as it is.
    void present();
    // A flare for each light source of which something was seen.
    void lensFlarePass();

    // The flare brightness of a light source: the visible fraction of it in
    // the last counts read, or nothing when none of it was seen.
    std::optional<float> flareBrightness(LightSource source) const;
    glm::vec3 lightSourcePosition(LightSource source) const;

    terrain::Terrain terrain;
    shapes::Shape lightCube1;
    shapes::Shape lightCube2;
    std::vector<Light> lights;
    RenderTarget reflectionTarget;  // depth renderbuffer + colour
    RenderTarget refractionTarget;  // depth texture + colour
    water::WaterRenderer water;
    std::vector<water::WaterTile> waterTiles;
    RenderTarget sceneTarget;  // depth texture + picture, (unused), god-ray highlight
    std::array<OcclusionQuery, queryCount> queries;
    std::array<shapes::Shape, skyFaceCount + 1> quads;  // front, back, right, left, bottom, top, moon
    CameraPath cameraPath;
    // Skips the model instances that cannot be seen in a pass: the same
    // picture, for less work.
    bool cullModels = true;
    // Draws only the part of the water images that the water can show; the
    // rest of them is left as it was.
    bool cullWaterImages = true;
    // How far the water shifts its image lookups, in device coordinates (its
    // shader's largest ripple of 0.018 of the image is 0.036), with room for
    // the filter's neighbouring texels.
    static constexpr float waterLookupReach = 0.05f;
    const float clipAbove = waterHeight + clipMargin;

    // Everything drawn as it is, nothing left out or simplified: no view
    // culling, no part-drawn water images, every terrain triangle on both
    // sides. The same picture, within a pixel's worth, at far greater cost;
    // for comparing the two.
    void drawAtFullDetail(bool full);
    const float clipBelow = -waterHeight - clipMargin;

private:
    void uploadModelLights();
    ScreenRegion visibleWater() const;
    void limitPassTo(const ScreenRegion& region, const RenderTarget& target);
    void endLimitedPass();
    // Instances first .. end - 1, in index order.
    void drawModels(const glm::vec4& clipPlane, int first = 0, int end = modelInstanceCount);
    // Draws the chunks on the kept side of `cullingPlane` (by default the
    // clip plane) that may be seen.
    void drawTerrain(const glm::vec4& clipPlane, bool backFacesHidden = false);
    void drawTerrain(const glm::vec4& clipPlane, bool backFacesHidden, const glm::vec4& cullingPlane);
    void drawWater();
    void drawSky();
    void drawLightCubes();
    void copySceneToWindow();
    static void countFrontFacesOnly();
    // The shape shader made current, in the lamps' colour, seen from the camera.
    static void useLampColouredShapes();

    glm::mat4 passRegion{1.0f};  // narrows the view culling to the part of a pass that is drawn
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
