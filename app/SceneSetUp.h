#pragma once

#include <array>

#include <glm/glm.hpp>

#include "app/Scene.h"
#include "water/WaterTile.h"

// The values the scene is set up from, named once.
namespace nox::setUp {

inline const glm::vec3 lightColour(240.0f / 255.0f, 185.0f / 255.0f, 4.0f / 255.0f);
inline const glm::vec3 lightPosition1(70.0f, 29.0f, -15.0f);
inline const glm::vec3 lightPosition2(65.0f, 29.47f, -65.0f);
inline const glm::vec3 lightCubeScale(0.3f);
inline const glm::vec3 lightAttenuation(1.0f, 0.005f, 0.001f);
inline const glm::vec3 terrainPosition(-500.0f, 0.0f, -500.0f);
inline const water::WaterTile lake{500.0f, Scene::waterHeight, 0.0f, 0.0f};
inline constexpr const char* textureDirectory = "../res/textures";

// The sky is dim and sends nothing to the god rays; the moon is shown as it is
// and feeds them a little.
inline const glm::vec4 skyColourScale(0.1f, 0.1f, 0.1f, 1.0f);
inline const glm::vec4 skyLightScale(0.0f, 0.0f, 0.0f, 1.0f);
inline const glm::vec4 moonColourScale(1.0f, 1.0f, 1.0f, 1.0f);
inline const glm::vec4 moonLightScale(0.1f, 0.1f, 0.1f, 1.0f);

// The scene's picture, a spare, and the highlight the god rays are made from.
inline constexpr int sceneColourAttachments = 3;

// Each light source's two occlusion counts.
struct SourceQueries {
    Scene::Query visible;
    Scene::Query total;
};
inline const std::array<SourceQueries, Scene::lightSourceCount> sourceQueries{{
    {Scene::cube1Visible, Scene::cube1Total},
    {Scene::cube2Visible, Scene::cube2Total},
    {Scene::moonVisible, Scene::moonTotal},
}};

}  // namespace nox::setUp
