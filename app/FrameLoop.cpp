#include "app/FrameLoop.h"

#include "app/Camera.h"
#include "app/DisplayConfig.h"
#include "app/FrameSteps.h"
#include "app/Window.h"
#include "gpu_particles/Fire.h"
#include "gpu_particles/Snow.h"

namespace nox {

namespace {
void applyPose(Camera& camera, const Pose& pose) {
    camera.position = {pose[0], pose[1], pose[2]};
    camera.rotation = {pose[3], pose[4], pose[5]};
}
}  // namespace

FrameLoop::FrameLoop() = default;

bool FrameLoop::running() const {
    return !glfwWindowShouldClose(getWindow());
}

void FrameLoop::iterate() {
    presentAndPoll();
    handleKeys();
    resetTargetSizes();
    updateTiming();
    runPhases();
}

void FrameLoop::iterate(double chosenDeltaTime) {
    presentAndPoll();
    handleKeys();
    resetTargetSizes();
    updateTiming();
    deltaTime = chosenDeltaTime;
    runPhases();
}

void FrameLoop::iterateWithoutDrawing(double chosenDeltaTime) {
    glfwPollEvents();
    handleKeys();
    resetTargetSizes();
    updateTiming();
    deltaTime = chosenDeltaTime;
    cameraPhase();
    particlePhase();
    scene.water.advanceScroll();
}

void FrameLoop::presentAndPoll() {
    glfwPollEvents();
    glfwSwapBuffers(getWindow());
}

void FrameLoop::handleKeys() {
    GLFWwindow* window = getWindow();
    if (isWindowFocused(window) && isKeyDown(window, GLFW_KEY_ESCAPE)) glfwSetWindowShouldClose(window, GLFW_TRUE);
    if (modeKey.pressed(isKeyDown(window, GLFW_KEY_P))) inManualMode = !inManualMode;
    if (activeDisplay.hasFullscreenToggle && fullscreenKey.pressed(isKeyDown(window, GLFW_KEY_F))) {
        toggleFullscreen();
    }
}

// Only the configuration that can switch to fullscreen resets its targets.
void FrameLoop::resetTargetSizes() {
    if (activeDisplay.hasFullscreenToggle) scene.resetTargetSizes();
}

void FrameLoop::updateTiming() {
    const double now = glfwGetTime();
    deltaTime = now - lastFrameTime;
    lastFrameTime = now;
}

void FrameLoop::runPhases() {
    if (frameStepWatcher != nullptr) frameStepWatcher->frameBegan();
    cameraPhase();
    endFrameStep(FrameStep::Camera);
    particlePhase();
    endFrameStep(FrameStep::ParticleCompute);
    renderPhase();
    if (frameStepWatcher != nullptr) frameStepWatcher->frameEnded();
}

void FrameLoop::cameraPhase() {
    Camera& camera = getCamera();
    updateMouseLook(camera);
    GLFWwindow* window = getWindow();
    if (isWindowFocused(window)) moveCamera(camera, window);
    if (!inManualMode) applyPose(camera, scene.cameraPath.evaluate());
    printCamera(camera);
}

// After the camera has moved, so that new snow appears around where it is now.
void FrameLoop::particlePhase() {
    gpu_particles::updateSnow(gpu_particles::getSnowSystem());
    gpu_particles::updateFire(gpu_particles::getFireSystem());
}

void FrameLoop::renderPhase() {
    scene.render();
}

}  // namespace nox
