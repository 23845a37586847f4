#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "app/ScreenRegion.h"
#include "app/Transform.h"

namespace {

using nox::ScreenRegion;
using nox::terrain::TerrainChunks;

// A flat grid at height 10, one unit between vertices.
const TerrainChunks& flatChunks() {
    static const TerrainChunks chunks = [] {
        constexpr int side = TerrainChunks::quadsPerSide + 1;
        std::vector<float> positions;
        positions.reserve(static_cast<size_t>(side) * side * 3);
        for (int x = 0; x < side; ++x) {
            for (int z = 0; z < side; ++z) positions.insert(positions.end(), {float(x), 10.0f, float(z)});
        }
        return TerrainChunks(positions);
    }();
    return chunks;
}

glm::mat4 view(const glm::vec3& eye, float pitch, float yaw) {
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), eye) *
                            glm::rotate(glm::mat4(1.0f), glm::radians(yaw), glm::vec3(0, 1, 0)) *
                            glm::rotate(glm::mat4(1.0f), glm::radians(pitch), glm::vec3(1, 0, 0));
    return nox::projection * glm::inverse(model);
}

TEST(ScreenRegion, GrowsWithinTheViewAndMirrorsUpsideDown) {
    const ScreenRegion region{{-0.5f, 0.2f}, {0.9f, 0.6f}};
    const ScreenRegion grown = region.grown(0.2f);
    EXPECT_EQ(grown.low, glm::vec2(-0.7f, 0.0f));
    EXPECT_EQ(grown.high, glm::vec2(1.0f, 0.8f));
    const ScreenRegion mirrored = region.mirrored();
    EXPECT_EQ(mirrored.low, glm::vec2(-0.5f, -0.6f));
    EXPECT_EQ(mirrored.high, glm::vec2(0.9f, -0.2f));
    EXPECT_TRUE((ScreenRegion{glm::vec2(1.0f), glm::vec2(-1.0f)}.grown(0.5f).empty()));
}

TEST(ScreenRegion, ItsCullingMatrixStretchesItOverTheClipVolume) {
    const ScreenRegion region{{-0.5f, 0.2f}, {0.9f, 0.6f}};
    const glm::mat4 m = region.cullingMatrix();
    const glm::vec4 low = m * glm::vec4(-0.5f * 2.0f, 0.2f * 2.0f, 0.3f, 2.0f);  // w = 2
    EXPECT_NEAR(low.x / low.w, -1.0f, 1e-6f);
    EXPECT_NEAR(low.y / low.w, -1.0f, 1e-6f);
    const glm::vec4 high = m * glm::vec4(0.9f, 0.6f, 0.3f, 1.0f);
    EXPECT_NEAR(high.x, 1.0f, 1e-6f);
    EXPECT_NEAR(high.y, 1.0f, 1e-6f);
    EXPECT_EQ(high.z, 0.3f);
}

TEST(ScreenRegion, ItsScissorBoxRoundsOutwards) {
    const ScreenRegion region{{-0.5f, -1.0f}, {0.001f, 1.0f}};
    EXPECT_EQ(region.pixels(100, 50), glm::ivec4(25, 0, 26, 50));
    EXPECT_EQ((ScreenRegion{glm::vec2(1.0f), glm::vec2(-1.0f)}.pixels(100, 50)), glm::ivec4(100, 50, 0, 0));
}

TEST(WaterRegion, NoWaterWhereEveryChunkRisesAboveItsSurface) {
    const glm::mat4 lookingDown = view({500, 200, 500}, -90.0f, 0.0f);
    EXPECT_TRUE(nox::waterRegion(flatChunks(), glm::vec3(0.0f), 5.0f, lookingDown).empty());
    const ScreenRegion everywhere = nox::waterRegion(flatChunks(), glm::vec3(0.0f), 20.0f, lookingDown);
    EXPECT_EQ(everywhere.low, glm::vec2(-1.0f));
    EXPECT_EQ(everywhere.high, glm::vec2(1.0f));
}

TEST(WaterRegion, CoversOnlyTheWaterBelowTheHorizonAndNothingBehind) {
    // Level, above the surface, looking north: the water lies below the
    // horizon, in the lower half of the view.
    const ScreenRegion region = nox::waterRegion(flatChunks(), glm::vec3(0.0f), 20.0f, view({500, 30, 900}, 0, 0));
    EXPECT_FALSE(region.empty());
    EXPECT_LE(region.high.y, 0.0f);
    EXPECT_EQ(region.low.y, -1.0f);
    // Water only behind the camera: the region is empty.
    const ScreenRegion behind =
        nox::waterRegion(flatChunks(), glm::vec3(0.0f, 0.0f, 2000.0f), 20.0f, view({500, 30, 900}, 0, 0));
    EXPECT_TRUE(behind.empty());
}

}  // namespace
