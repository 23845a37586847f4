#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "app/Transform.h"
#include "terrain/TerrainChunks.h"

namespace {

using nox::terrain::DrawRanges;
using nox::terrain::TerrainChunks;

constexpr int side = TerrainChunks::quadsPerSide + 1;
constexpr int chunk = TerrainChunks::quadsPerChunk;

// A flat grid at height 10 with one hill in chunk (3, 4) reaching 30.
std::vector<float> flatGridWithAHill() {
    std::vector<float> positions(static_cast<size_t>(side) * side * 3);
    for (int x = 0; x < side; ++x) {
        for (int z = 0; z < side; ++z) {
            float* p = &positions[(static_cast<size_t>(x) * side + z) * 3];
            const bool hill = x == 3 * chunk + chunk / 2 && z == 4 * chunk + chunk / 2;
            p[0] = static_cast<float>(x);
            p[1] = hill ? 30.0f : 10.0f;
            p[2] = static_cast<float>(z);
        }
    }
    return positions;
}

const TerrainChunks& chunks() {
    static const TerrainChunks grid(flatGridWithAHill());
    return grid;
}

// A camera at `eye` looking down -Z, as the scene's view matrix is built.
glm::mat4 lookingNorthFrom(const glm::vec3& eye) {
    return nox::projection * glm::inverse(glm::translate(glm::mat4(1.0f), eye));
}

const glm::vec4 keepAll(0, 0, 0, 1);
const glm::vec3 origin(0.0f);

TEST(TerrainChunks, BoxesHoldEveryVertexOfTheChunkAndItsFarEdge) {
    const TerrainChunks::Bounds hill = chunks().bounds(3, 4);
    EXPECT_LE(hill.low.y, 10.0f);
    EXPECT_GE(hill.high.y, 30.0f);
    EXPECT_LE(hill.low.x, 3.0f * chunk);
    EXPECT_GE(hill.high.x, 4.0f * chunk);  // the chunk's last quads end on the next chunk's first vertex
    EXPECT_LT(chunks().bounds(3, 5).high.y, 30.0f);
}

TEST(TerrainChunks, SeeingEverythingDrawsEveryIndexInOneRange) {
    // A view straight down, parallel, a little wider than the grid.
    glm::mat4 topView(0.0f);
    topView[0][0] = 1.0f / 600.0f;  // x to the right
    topView[2][1] = 1.0f / 600.0f;  // z up the screen
    topView[3] = glm::vec4(-500.0f / 600.0f, -500.0f / 600.0f, 0.0f, 1.0f);
    DrawRanges ranges;
    chunks().selectVisible(origin, topView, keepAll, ranges);
    ASSERT_EQ(ranges.counts.size(), 1u);
    EXPECT_EQ(ranges.counts[0], 6000000);
    EXPECT_EQ(ranges.offsets[0], nullptr);
}

TEST(TerrainChunks, AChunkPartlyInViewIsKeptAndOneWhollyOutsideIsNot) {
    // Looking north from the south edge of the grid, in the middle of chunk column 10.
    constexpr int last = TerrainChunks::chunksPerSide - 1;
    const float middleOf10 = 10.5f * chunk;
    const glm::mat4 viewProjection = lookingNorthFrom(glm::vec3(middleOf10, 15, 1000));
    EXPECT_TRUE(chunks().mayBeSeen(10, last, origin, viewProjection, keepAll));  // straight ahead
    // The frustum widens with distance: far enough north, chunk column 9
    // straddles its left edge, while close by it lies wholly outside.
    EXPECT_TRUE(chunks().mayBeSeen(9, 5, origin, viewProjection, keepAll));
    EXPECT_FALSE(chunks().mayBeSeen(9, last, origin, viewProjection, keepAll));
    EXPECT_FALSE(chunks().mayBeSeen(0, last, origin, viewProjection, keepAll));
    // Behind the eye nothing is seen, even straight behind it.
    const int eyeRow = 12;
    const glm::mat4 fromTheMiddle = lookingNorthFrom(glm::vec3(middleOf10, 15, (eyeRow + 0.5f) * chunk));
    EXPECT_TRUE(chunks().mayBeSeen(10, eyeRow - 1, origin, fromTheMiddle, keepAll));
    EXPECT_FALSE(chunks().mayBeSeen(10, eyeRow + 1, origin, fromTheMiddle, keepAll));
}

TEST(TerrainChunks, TheClipPlaneDropsOnlyChunksWhollyOnItsFarSide) {
    const glm::mat4 viewProjection =
        nox::projection * glm::inverse(glm::translate(glm::mat4(1.0f), glm::vec3(175, 300, 225)) *
                                       glm::rotate(glm::mat4(1.0f), glm::radians(-90.0f), glm::vec3(1, 0, 0)));
    const glm::vec4 keepAbove20(0, 1, 0, -20);
    const glm::vec4 keepBelow20(0, -1, 0, 20);
    EXPECT_TRUE(chunks().mayBeSeen(3, 4, origin, viewProjection, keepAbove20));  // the hill straddles the plane
    EXPECT_TRUE(chunks().mayBeSeen(3, 4, origin, viewProjection, keepBelow20));
    EXPECT_FALSE(chunks().mayBeSeen(3, 5, origin, viewProjection, keepAbove20));  // flat at 10
    EXPECT_TRUE(chunks().mayBeSeen(3, 5, origin, viewProjection, keepBelow20));
    // The terrain's placement moves the boxes: lowered by 15, the hill's top
    // stays below the plane.
    EXPECT_FALSE(chunks().mayBeSeen(3, 4, glm::vec3(0, -15, 0), viewProjection, keepAbove20));
}

TEST(TerrainChunks, RangesAscendAndCoverExactlyTheKeptChunksRows) {
    const glm::mat4 viewProjection =
        nox::projection * glm::inverse(glm::translate(glm::mat4(1.0f), glm::vec3(175, 300, 225)) *
                                       glm::rotate(glm::mat4(1.0f), glm::radians(-90.0f), glm::vec3(1, 0, 0)));
    const glm::vec4 keepAbove20(0, 1, 0, -20);
    DrawRanges ranges;
    chunks().selectVisible(origin, viewProjection, keepAbove20, ranges);
    // Only the hill's chunk is kept: one run of its quads in each of its rows.
    ASSERT_EQ(ranges.counts.size(), static_cast<size_t>(chunk));
    for (int row = 0; row < chunk; ++row) {
        EXPECT_EQ(ranges.counts[row], chunk * 6);
        const size_t firstQuad = static_cast<size_t>(3 * chunk + row) * 1000 + 4 * chunk;
        EXPECT_EQ(ranges.offsets[row], reinterpret_cast<const void*>(firstQuad * 6 * sizeof(GLuint)));
    }
}

}  // namespace
