#include "app/CameraMirror.h"

namespace nox {

CameraMirror::CameraMirror(Camera& camera, float surfaceHeight) : camera(camera), realPose(camera) {
    const float d = 2.0f * (camera.position.y - surfaceHeight);
    camera.position.y -= d;
    camera.rotation.x = -camera.rotation.x;
}

CameraMirror::~CameraMirror() {
    camera = realPose;
}

}  // namespace nox
