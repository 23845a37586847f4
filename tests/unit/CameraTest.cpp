#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "app/Camera.h"
#include "app/Transform.h"

namespace {

using nox::Camera;

TEST(MouseLook, TurnsTenthOfADegreePerPixelRightAndDown) {
    Camera camera;
    nox::applyMouseLook(camera, 640 + 25, 360 + 10, 1280, 720);
    EXPECT_FLOAT_EQ(camera.rotation.y, -2.5f);
    EXPECT_FLOAT_EQ(camera.rotation.x, -1.0f);
    EXPECT_FLOAT_EQ(camera.rotation.z, 0.0f);
}

TEST(MouseLook, ARestingCursorNeverTurnsTheViewEvenWithAnOddWindowSize) {
    for (const glm::ivec2& size : {glm::ivec2(1280, 720), glm::ivec2(1281, 721), glm::ivec2(3, 5)}) {
        Camera camera;
        const glm::ivec2 rest = nox::cursorRestPosition(size.x, size.y);
        EXPECT_EQ(rest, size / 2);
        for (int frame = 0; frame < 10; ++frame) nox::applyMouseLook(camera, rest.x, rest.y, size.x, size.y);
        EXPECT_EQ(camera.rotation, glm::vec3(0.0f)) << size.x << " x " << size.y;
    }
}

TEST(MouseLook, PitchIsNotClamped) {
    Camera camera;
    for (int frame = 0; frame < 3; ++frame) nox::applyMouseLook(camera, 640, 360 - 700, 1280, 720);
    EXPECT_FLOAT_EQ(camera.rotation.x, 210.0f);
}

TEST(Movement, ForwardFollowsYawAndClimbsWithPitchWithoutNormalising) {
    Camera camera;
    camera.rotation = {30.0f, 90.0f, 0.0f};
    nox::applyMovement(camera, {true, false, false, false}, 0.5f);
    // f = (-sin 90, sin 30, -cos 90) = (-1, 0.5, 0); 20 units/s for half a second.
    EXPECT_NEAR(camera.position.x, -10.0f, 1e-4f);
    EXPECT_NEAR(camera.position.y, 5.0f, 1e-4f);
    EXPECT_NEAR(camera.position.z, 0.0f, 1e-4f);
}

TEST(Movement, StrafingIsLevelAndOppositeKeysCancel) {
    Camera camera;
    camera.rotation = {45.0f, 0.0f, 0.0f};
    nox::applyMovement(camera, {false, false, false, true}, 1.0f);
    EXPECT_NEAR(camera.position.x, 20.0f, 1e-4f);
    EXPECT_NEAR(camera.position.y, 0.0f, 1e-4f);

    Camera still;
    still.rotation = {12.0f, 34.0f, 0.0f};
    nox::applyMovement(still, {true, true, true, true}, 1.0f);
    EXPECT_NEAR(glm::length(still.position), 0.0f, 1e-4f);
}

// What the keys mean is relative to the picture: whatever way the camera
// faces, D moves it towards the right edge of the view and A towards the left,
// and W straight into the view when it looks level.
TEST(Movement, KeysMoveAlongTheViewWhateverWayTheCameraFaces) {
    for (const float yaw : {0.0f, 35.0f, 90.0f, 180.0f, 251.0f, -120.0f}) {
        for (const float pitch : {0.0f, 30.0f}) {
            Camera camera;
            camera.position = {10.0f, 25.0f, -30.0f};
            camera.rotation = {pitch, yaw, 0.0f};
            const glm::mat3 toView =
                glm::mat3(glm::inverse(nox::createModelMatrix(camera.position, camera.rotation, glm::vec3(1))));
            const auto movedInView = [&](const nox::MoveKeys& keys) {
                Camera moved = camera;
                nox::applyMovement(moved, keys, 0.5f);
                return toView * (moved.position - camera.position);
            };
            const glm::vec3 right = movedInView({false, false, false, true});
            const glm::vec3 left = movedInView({false, true, false, false});
            EXPECT_NEAR(right.x, 10.0f, 1e-3f) << "yaw " << yaw << ", pitch " << pitch;
            EXPECT_NEAR(glm::length(glm::vec2(right.y, right.z)), 0.0f, 1e-3f) << "yaw " << yaw << ", pitch " << pitch;
            EXPECT_NEAR(left.x, -10.0f, 1e-3f) << "yaw " << yaw << ", pitch " << pitch;
            if (pitch == 0.0f) {
                const glm::vec3 forward = movedInView({true, false, false, false});
                EXPECT_NEAR(glm::length(forward - glm::vec3(0.0f, 0.0f, -10.0f)), 0.0f, 1e-3f) << "yaw " << yaw;
            }
        }
    }
}

TEST(ViewMatrix, IsTheInverseOfTheCameraModelMatrix) {
    Camera& camera = nox::getCamera();
    camera.position = {10.0f, 25.0f, -30.0f};
    camera.rotation = {-14.0f, -52.0f, 5.0f};
    const glm::mat4 product =
        nox::getViewMatrix() * nox::createModelMatrix(camera.position, camera.rotation, glm::vec3(1));
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            EXPECT_NEAR(product[c][r], c == r ? 1.0f : 0.0f, 1e-5f);
        }
    }
    // The camera's own position maps to the eye at the origin.
    const glm::vec4 eye = nox::getViewMatrix() * glm::vec4(camera.position, 1.0f);
    EXPECT_NEAR(glm::length(glm::vec3(eye)), 0.0f, 1e-4f);
    camera = Camera{};
}

TEST(CameraPose, PrintsThreeLinesWithDefaultFloatFormatting) {
    Camera camera;
    camera.position = {-49.0f, 41.25f, 14.123456789f};
    camera.rotation = {-14.0f, 398.6f, 0.0f};
    std::ostringstream out;
    nox::writeCameraPose(out, camera);
    EXPECT_EQ(out.str(),
              "Camera:\n"
              "  Translation: (-49, 41.25, 14.1235)\n"
              "  Rotation: (-14, 398.6, 0)\n");
}

}  // namespace
