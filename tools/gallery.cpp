// Draws the pictures the README shows, into docs/ (run from bin/ so that
// "../res" resolves):   gallery DIRECTORY
// Each is a moment of the flight or a fixed pose at the usual frame time,
// halved and written as a JPEG.
#include <cstdio>
#include <string>

#include <stb/stb_image_write.h>

#include "app/Camera.h"
#include "app/FrameLoop.h"
#include "app/Window.h"
#include "gpu_particles/Fire.h"
#include "gpu_particles/Snow.h"
#include "tools/FlightCapture.h"
#include "tools/ImageCompare.h"

namespace {

using nox::tools::Image;

constexpr double frameTime = 1.0 / 30.0;
constexpr double settleTime = 10.0;  // a particle lifetime, before a posed picture
constexpr int scaleDown = 2;
constexpr int jpegQuality = 85;

struct Picture {
    const char* file;
    double flightSeconds;  // below zero: the pose
    float pose[5];         // x, y, z, pitch, yaw
};

// clang-format off
const Picture pictures[] = {
    {"lake.jpg",        2.0,   {}},
    {"valley.jpg",      100.0, {}},
    {"campfire.jpg",    -1,    {81, 24.5f, 6, -22, 0}},
    {"moonrise.jpg",    -1,    {60, 26, 60, 12, 52.5f}},
    {"behind_a_fir.jpg", -1,   {119.6f, 29.37f, -76.71f, 27.85f, 64.78f}},
};
// clang-format on

Image drawPose(nox::FrameLoop& loop, const float pose[5]) {
    loop.iterate(0.0);
    loop.setManualMode(true);
    nox::getCamera().position = {pose[0], pose[1], pose[2]};
    nox::getCamera().rotation = {pose[3], pose[4], 0.0f};
    for (int i = 0; i < static_cast<int>(settleTime / frameTime); ++i) loop.iterateWithoutDrawing(frameTime);
    loop.iterate(0.0);  // the lens flares use the counts of the frame before
    loop.iterate(0.0);
    return nox::tools::readBackBuffer();
}

bool writeJpeg(const Image& image, const std::string& path) {
    stbi_flip_vertically_on_write(1);
    const bool written = stbi_write_jpg(path.c_str(), image.width, image.height, 3, image.rgb.data(), jpegQuality) != 0;
    stbi_flip_vertically_on_write(0);
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    nox::getWindow();
    for (const Picture& picture : pictures) {
        nox::FrameLoop loop;  // every picture from the start of a run
        nox::gpu_particles::getSnowSystem().restart();
        nox::gpu_particles::getFireSystem().restart();
        const Image image = picture.flightSeconds < 0.0
                                ? drawPose(loop, picture.pose)
                                : nox::tools::FlightCapture(loop, frameTime).frameAt(picture.flightSeconds);
        const std::string path = std::string(argv[1]) + "/" + picture.file;
        if (!writeJpeg(nox::tools::downscale(image, scaleDown), path)) {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
