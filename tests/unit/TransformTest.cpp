#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "app/Transform.h"

namespace {

using nox::createModelMatrix;

void expectNear(const glm::vec4& actual, const glm::vec4& expected, float tolerance = 1e-4f) {
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

TEST(Projection, MatchesTheFixedTable) {
    const glm::mat4& m = nox::projection;
    EXPECT_NEAR(m[0][0], 2.1105296f, 1e-6f);
    EXPECT_NEAR(m[1][1], 2.1105296f, 1e-6f);
    EXPECT_NEAR(m[2][2], -1.0002f, 1e-6f);
    EXPECT_FLOAT_EQ(m[2][3], -1.0f);
    EXPECT_NEAR(m[3][2], -0.20002f, 1e-6f);
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            const bool fixed = (c == r && c < 3) || (c == 2 && r == 3) || (c == 3 && r == 2);
            if (!fixed) {
                EXPECT_EQ(m[c][r], 0.0f) << "m[" << c << "][" << r << "]";
            }
        }
    }
}

TEST(CreateModelMatrix, ScalesThenRotatesXThenYThenZThenTranslates) {
    const glm::vec3 translation(3, -2, 7);
    const glm::vec3 rotation(90, 90, 0);
    const glm::vec3 scale(2, 3, 4);
    const glm::mat4 m = createModelMatrix(translation, rotation, scale);
    // (1, 0, 0) scaled to (2, 0, 0); Rx(90) keeps it; Ry(90) takes +X to -Z.
    expectNear(m * glm::vec4(1, 0, 0, 1), glm::vec4(3, -2, 5, 1));
    // (0, 1, 0) scaled to (0, 3, 0); Rx(90) takes +Y to +Z; Ry(90) takes +Z to +X.
    expectNear(m * glm::vec4(0, 1, 0, 1), glm::vec4(6, -2, 7, 1));
}

TEST(CreateModelMatrix, ComposesZOutermost) {
    // Rotations that do not commute: the order is visible in the result.
    const glm::vec3 rotation(30, 45, 60);
    const glm::mat4 identity(1.0f);
    const float k = nox::degreesToRadians;
    const glm::mat4 expected = glm::rotate(identity, 60 * k, glm::vec3(0, 0, 1)) *
                               glm::rotate(identity, 45 * k, glm::vec3(0, 1, 0)) *
                               glm::rotate(identity, 30 * k, glm::vec3(1, 0, 0));
    const glm::mat4 wrongOrder = glm::rotate(identity, 30 * k, glm::vec3(1, 0, 0)) *
                                 glm::rotate(identity, 45 * k, glm::vec3(0, 1, 0)) *
                                 glm::rotate(identity, 60 * k, glm::vec3(0, 0, 1));
    const glm::mat4 m = createModelMatrix(glm::vec3(0), rotation, glm::vec3(1));
    const glm::vec4 probe(0.3f, -1.2f, 0.7f, 1.0f);
    expectNear(m * probe, expected * probe, 1e-5f);
    EXPECT_GT(glm::length(m * probe - wrongOrder * probe), 0.1f);
}

TEST(CreateModelMatrix, QuarterTurnAboutXLaysAQuadIntoTheGround) {
    const glm::mat4 m = createModelMatrix(glm::vec3(0), glm::vec3(90, 0, 0), glm::vec3(1));
    expectNear(m * glm::vec4(1, 1, 0, 1), glm::vec4(1, 0, 1, 1));
    expectNear(m * glm::vec4(0, 0, 1, 0), glm::vec4(0, -1, 0, 0));  // the normal now points down
}

TEST(CreateModelMatrix, HalfTurnAboutZTurnsAQuadUpsideDownInPlace) {
    const glm::mat4 m = createModelMatrix(glm::vec3(0, 0, -500), glm::vec3(0, 0, 180), glm::vec3(500));
    expectNear(m * glm::vec4(1, 1, 0, 1), glm::vec4(-500, -500, -500, 1), 1e-2f);
}

}  // namespace
