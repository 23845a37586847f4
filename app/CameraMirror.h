#pragma once

#include "app/Camera.h"

namespace nox {

// For as long as it lives, the camera is its own mirror image in a
// horizontal surface: as far below it as it was above, looking up as much as
// it looked down. Yaw and roll stay. On destruction the camera gets back the
// exact pose it had: undoing the mirror arithmetically need not give back the
// same floats, and a resting camera must never drift.
class CameraMirror {
public:
    CameraMirror(Camera& camera, float surfaceHeight);
    ~CameraMirror();

    CameraMirror(const CameraMirror&) = delete;
    CameraMirror& operator=(const CameraMirror&) = delete;

private:
    Camera& camera;
    const Camera realPose;
};

}  // namespace nox
