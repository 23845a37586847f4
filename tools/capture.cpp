// Renders the flight at chosen times and writes each frame as a PNG, for
// looking at what the renderer draws (run from bin/ so "../res" resolves):
//   capture OUTPUT_PREFIX SECONDS...
//   capture OUTPUT_PREFIX --pose X Y Z PITCH YAW     one frame from a fixed camera,
//                                                     after a particle lifetime there
// Frames are advanced in steps of at most one second so the flight never skips
// a segment, exactly as a steady frame rate would move it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Camera.h"
#include "app/FrameLoop.h"
#include "app/Window.h"
#include "gpu_particles/Fire.h"
#include "gpu_particles/Snow.h"
#include "tools/FrameCapture.h"

namespace {

// Fills the air as a steady run would have by the time of the shot: the
// particles live one whole lifetime around the fixed camera first.
void settleParticles() {
    namespace particles = nox::gpu_particles;
    constexpr double step = 1.0 / 30.0;
    const int steps = static_cast<int>(particles::particleMaxAge / step);
    nox::deltaTime = step;
    for (int i = 0; i < steps; ++i) {
        particles::updateSnow(particles::getSnowSystem());
        particles::updateFire(particles::getFireSystem());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_PREFIX SECONDS...\n", argv[0]);
        return 2;
    }
    constexpr double longestStep = 1.0;
    nox::getWindow();
    nox::FrameLoop loop;
    if (std::string(argv[2]) == "--pose" && argc == 8) {
        loop.iterate(0.0);
        loop.setManualMode(true);
        nox::Camera& camera = nox::getCamera();
        camera.position = {std::strtof(argv[3], nullptr), std::strtof(argv[4], nullptr), std::strtof(argv[5], nullptr)};
        camera.rotation = {std::strtof(argv[6], nullptr), std::strtof(argv[7], nullptr), 0.0f};
        settleParticles();
        // The lens flares use the occlusion counts of the frame before, so
        // the pose is drawn twice for its flares to belong to it.
        loop.iterate(0.0);
        loop.iterate(0.0);
        const std::string path = std::string(argv[1]) + ".png";
        nox::tools::savePng(nox::tools::readBackBuffer(), path);
        std::printf("%s\n", path.c_str());
        return 0;
    }
    double flightTime = 0.0;
    for (int i = 2; i < argc; ++i) {
        const double target = std::strtod(argv[i], nullptr);
        do {
            const double step = std::min(longestStep, std::max(0.0, target - flightTime));
            loop.iterate(step);
            flightTime += step;
        } while (flightTime < target);
        const std::string path = std::string(argv[1]) + "_" + argv[i] + ".png";
        if (!nox::tools::savePng(nox::tools::readBackBuffer(), path)) {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
