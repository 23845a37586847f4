#pragma once

#include "app/KeyToggle.h"
#include "app/Scene.h"

namespace nox {

// The spine of the program: owns the scene set-up's objects and runs one
// iteration per displayed frame. Construct it after getWindow(); destroy it
// before the process exits so the scene is released while the context exists.
class FrameLoop {
public:
    FrameLoop();

    FrameLoop(const FrameLoop&) = delete;
    FrameLoop& operator=(const FrameLoop&) = delete;

    // False once Escape or the system has asked the window to close.
    bool running() const;

    // One iteration: present the previous frame and poll, keys, timing from the
    // clock, then the camera, particle and render phases.
    void iterate();

    // The same iteration with deltaTime forced to a chosen value (the clock
    // still advances lastFrameTime), for reproducible frames.
    void iterate(double chosenDeltaTime);

    // The same iteration without the render phase: the camera, the particles
    // and the water's ripples move on exactly as in a drawn frame of that
    // length, for tools that need a late moment of the flight quickly.
    void iterateWithoutDrawing(double chosenDeltaTime);

    bool manualMode() const { return inManualMode; }
    // Switches between the flight and free flight, as P does.
    void setManualMode(bool manual) { inManualMode = manual; }
    CameraPath& path() { return scene.cameraPath; }
    Scene& sceneObjects() { return scene; }

private:
    void presentAndPoll();
    void handleKeys();
    void resetTargetSizes();
    void updateTiming();
    void runPhases();
    void cameraPhase();
    void particlePhase();
    void renderPhase();

    Scene scene;
    bool inManualMode = false;
    KeyToggle modeKey;
    KeyToggle fullscreenKey;
};

}  // namespace nox
