#include "app/Camera.h"

#include <cmath>
#include <iostream>

#include "app/Transform.h"
#include "app/Window.h"

namespace nox {

namespace {
constexpr double pixelsPerDegree = 10.0;
constexpr float flightSpeed = 20.0f;  // world units per second
}  // namespace

Camera& getCamera() {
    static Camera camera;
    return camera;
}

glm::mat4 getViewMatrix() {
    const Camera& camera = getCamera();
    return glm::inverse(createModelMatrix(camera.position, camera.rotation, glm::vec3(1.0f)));
}

glm::ivec2 cursorRestPosition(int width, int height) {
    return {width / 2, height / 2};
}

void applyMouseLook(Camera& camera, double cursorX, double cursorY, int width, int height) {
    const glm::ivec2 centre = cursorRestPosition(width, height);
    camera.rotation.y -= static_cast<float>((cursorX - centre.x) / pixelsPerDegree);
    camera.rotation.x -= static_cast<float>((cursorY - centre.y) / pixelsPerDegree);
}

void updateMouseLook(Camera& camera) {
    GLFWwindow* window = getWindow();
    if (!isWindowFocused(window)) return;
    double cursorX = 0.0;
    double cursorY = 0.0;
    int width = 0;
    int height = 0;
    glfwGetCursorPos(window, &cursorX, &cursorY);
    glfwGetWindowSize(window, &width, &height);
    applyMouseLook(camera, cursorX, cursorY, width, height);
    const glm::ivec2 centre = cursorRestPosition(width, height);
    glfwSetCursorPos(window, centre.x, centre.y);
}

void applyMovement(Camera& camera, const MoveKeys& keys, float dt) {
    const float yaw = camera.rotation.y * degreesToRadians;
    const float pitch = camera.rotation.x * degreesToRadians;
    const float sy = std::sin(yaw);
    const float cy = std::cos(yaw);
    const float sp = std::sin(pitch);
    // Not normalised: looking up or down adds climb on top of the full ground speed.
    const glm::vec3 forward(-sy, sp, -cy);
    const glm::vec3 right(cy, 0.0f, -sy);
    const float step = flightSpeed * dt;
    if (keys.forward) camera.position += forward * step;
    if (keys.back) camera.position -= forward * step;
    if (keys.left) camera.position -= right * step;
    if (keys.right) camera.position += right * step;
}

void moveCamera(Camera& camera, GLFWwindow* window) {
    MoveKeys keys;
    keys.forward = isKeyDown(window, GLFW_KEY_W);
    keys.left = isKeyDown(window, GLFW_KEY_A);
    keys.back = isKeyDown(window, GLFW_KEY_S);
    keys.right = isKeyDown(window, GLFW_KEY_D);
    applyMovement(camera, keys, static_cast<float>(deltaTime));
}

void writeCameraPose(std::ostream& out, const Camera& camera) {
    const glm::vec3& p = camera.position;
    const glm::vec3& r = camera.rotation;
    out << "Camera:" << std::endl;
    out << "  Translation: (" << p.x << ", " << p.y << ", " << p.z << ")" << std::endl;
    out << "  Rotation: (" << r.x << ", " << r.y << ", " << r.z << ")" << std::endl;
}

void printCamera(const Camera& camera) {
    if (glfwGetMouseButton(getWindow(), GLFW_MOUSE_BUTTON_LEFT) == GLFW_PRESS) writeCameraPose(std::cout, camera);
}

}  // namespace nox
