// Draws the flight, or a fixed pose, to pictures (run from bin/ so that
// "../res" resolves; under xvfb-run when there is no display).
//
//   capture [--step S] PREFIX SECONDS...        moments of the flight: PREFIX_SECONDS.png
//   capture [--step S] --range FROM TO PREFIX   every frame from FROM to TO s: PREFIX_00001.png ...
//   capture [--step S] --sheet N FILE.png       N moments spread over the flight, in one picture
//   capture [--step S] --video FROM TO FILE     FROM to TO s as a video, through ffmpeg
//   capture PREFIX --pose X Y Z PITCH YAW       one frame from a fixed camera: PREFIX.png
//
// --full-detail, anywhere among the arguments, draws everything as it is: no
// view culling, no level of detail, no back faces left out.
//
// The flight runs at a fixed frame time S (default 1/30 s), so the same
// command draws the same pixels every time. Exit codes: 0 done, 1 a file
// could not be written, 2 wrong arguments, 3 ffmpeg is missing.
//
// The sheet and the video report their progress on stderr: each is written
// only at the end, minutes later in software. stdout names the files written.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "app/FrameLoop.h"
#include "app/Window.h"
#include "gpu_particles/Fire.h"
#include "gpu_particles/Snow.h"
#include "tools/FlightCapture.h"
#include "tools/ImageCompare.h"

namespace {

using nox::tools::Image;

constexpr int writeFailed = 1;
constexpr int usageError = 2;
constexpr int ffmpegMissing = 3;
constexpr double defaultStep = 1.0 / 30.0;
constexpr double flightLength = 150.0;  // seconds, one loop
constexpr int sheetScale = 4;           // each moment of a sheet at a quarter of its size

int usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--step S] PREFIX SECONDS...       moments of the flight\n"
                 "       %s [--step S] --range FROM TO PREFIX  every frame from FROM to TO seconds\n"
                 "       %s [--step S] --sheet N FILE.png      N moments over the flight in one picture\n"
                 "       %s [--step S] --video FROM TO FILE    a video, through ffmpeg\n"
                 "       %s PREFIX --pose X Y Z PITCH YAW      one frame from a fixed camera\n"
                 "S is the frame time in seconds (default 1/30). --full-detail, anywhere, draws everything\n"
                 "as it is: no view culling, no level of detail, no back faces left out.\n",
                 program, program, program, program, program);
    return usageError;
}

bool parseNumber(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(value);
}

bool save(const Image& image, const std::string& path) {
    if (!nox::tools::savePng(image, path)) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

// Fills the air as a steady run would have by the time of the shot: the
// particles live one whole lifetime around the fixed camera first.
void settleParticles() {
    namespace particles = nox::gpu_particles;
    nox::deltaTime = defaultStep;
    for (int i = 0; i < static_cast<int>(particles::particleMaxAge / defaultStep); ++i) {
        particles::updateSnow(particles::getSnowSystem());
        particles::updateFire(particles::getFireSystem());
    }
}

int capturePose(nox::FrameLoop& loop, const std::string& prefix, const float pose[5]) {
    loop.iterate(0.0);
    loop.setManualMode(true);
    nox::Camera& camera = nox::getCamera();
    camera.position = {pose[0], pose[1], pose[2]};
    camera.rotation = {pose[3], pose[4], 0.0f};
    settleParticles();
    // The lens flares use the occlusion counts of the frame before, so the
    // pose is drawn twice for its flares to belong to it.
    loop.iterate(0.0);
    loop.iterate(0.0);
    return save(nox::tools::readBackBuffer(), prefix + ".png") ? 0 : writeFailed;
}

int captureMoments(nox::tools::FlightCapture& flight, const std::string& prefix,
                   const std::vector<std::string>& moments) {
    for (const std::string& moment : moments) {
        double seconds = 0.0;
        if (!parseNumber(moment.c_str(), seconds)) return usageError;
        if (!save(flight.frameAt(seconds), prefix + "_" + moment + ".png")) return writeFailed;
    }
    return 0;
}

int captureRange(nox::tools::FlightCapture& flight, double from, double to, const std::string& prefix) {
    Image frame = flight.frameAt(from);
    for (int n = 1;; ++n) {
        char number[16];
        std::snprintf(number, sizeof number, "_%05d.png", n);
        if (!save(frame, prefix + number)) return writeFailed;
        if ((flight.framesDone() + 1) * flight.frameTime() > to + 1e-9) return 0;
        frame = flight.nextFrame();
    }
}

// N moments evenly over one loop of the flight, at a quarter of their size,
// row by row from the top left.
int captureSheet(nox::tools::FlightCapture& flight, int count, const std::string& path) {
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = (count + columns - 1) / columns;
    Image sheet;
    for (int i = 0; i < count; ++i) {
        const double seconds = flightLength * (i + 0.5) / count;
        const Image tile = nox::tools::downscale(flight.frameAt(seconds), sheetScale);
        std::fprintf(stderr, "moment %d of %d: %.1f s of flight\n", i + 1, count, seconds);
        if (sheet.rgb.empty()) {
            sheet.width = tile.width * columns;
            sheet.height = tile.height * rows;
            sheet.rgb.assign(static_cast<size_t>(sheet.width) * sheet.height * 3, 0);
        }
        // Rows are stored bottom first: the first tile goes to the top row.
        const int left = (i % columns) * tile.width;
        const int bottom = (rows - 1 - i / columns) * tile.height;
        for (int y = 0; y < tile.height; ++y) {
            std::copy_n(tile.pixel(0, y), tile.width * 3,
                        &sheet.rgb[(static_cast<size_t>(bottom + y) * sheet.width + left) * 3]);
        }
    }
    return save(sheet, path) ? 0 : writeFailed;
}

bool ffmpegInstalled() {
    return std::system("command -v ffmpeg > /dev/null 2>&1") == 0;
}

int captureVideo(nox::tools::FlightCapture& flight, double from, double to, const std::string& path) {
    Image frame = flight.frameAt(from);
    char command[512];
    std::snprintf(command, sizeof command,
                  "ffmpeg -loglevel error -y -f rawvideo -pix_fmt rgb24 -s %dx%d -r %.6f -i - -vf vflip "
                  "-pix_fmt yuv420p '%s'",
                  frame.width, frame.height, 1.0 / flight.frameTime(), path.c_str());
    FILE* ffmpeg = popen(command, "w");
    if (ffmpeg == nullptr) return writeFailed;
    constexpr double progressEvery = 10.0;  // seconds of flight
    double nextProgress = from;
    while (true) {
        std::fwrite(frame.rgb.data(), 1, frame.rgb.size(), ffmpeg);
        const double seconds = flight.framesDone() * flight.frameTime();
        if (seconds + 1e-9 >= nextProgress) {
            std::fprintf(stderr, "video: %.0f of %.0f s of flight\n", seconds, to);
            nextProgress += progressEvery;
        }
        if ((flight.framesDone() + 1) * flight.frameTime() > to + 1e-9) break;
        frame = flight.nextFrame();
    }
    if (pclose(ffmpeg) != 0) {
        std::fprintf(stderr, "ffmpeg could not write %s\n", path.c_str());
        return writeFailed;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const auto fullDetailFlag = std::find(args.begin(), args.end(), "--full-detail");
    const bool fullDetail = fullDetailFlag != args.end();
    if (fullDetail) args.erase(fullDetailFlag);
    if (args.size() == 7 && args[1] == "--pose") {
        float pose[5];
        for (int i = 0; i < 5; ++i) {
            double value = 0.0;
            if (!parseNumber(args[2 + i].c_str(), value)) return usage(argv[0]);
            pose[i] = static_cast<float>(value);
        }
        nox::getWindow();
        nox::FrameLoop loop;
        loop.sceneObjects().drawAtFullDetail(fullDetail);
        return capturePose(loop, args[0], pose);
    }

    double step = defaultStep;
    if (args.size() >= 2 && args[0] == "--step") {
        if (!parseNumber(args[1].c_str(), step) || step <= 0.0) return usage(argv[0]);
        args.erase(args.begin(), args.begin() + 2);
    }
    double from = 0.0, to = 0.0;
    const bool range = args.size() == 4 && (args[0] == "--range" || args[0] == "--video");
    if (range &&
        (!parseNumber(args[1].c_str(), from) || !parseNumber(args[2].c_str(), to) || from < 0.0 || to < from)) {
        return usage(argv[0]);
    }
    if (!range && args.size() == 3 && args[0] == "--sheet" && std::atoi(args[1].c_str()) <= 0) return usage(argv[0]);
    if (!range && args.size() < 2) return usage(argv[0]);
    if (range && args[0] == "--video" && !ffmpegInstalled()) {
        std::fprintf(stderr, "ffmpeg is not installed; install it with: apt-get install ffmpeg\n");
        return ffmpegMissing;
    }

    nox::getWindow();
    nox::FrameLoop loop;
    loop.sceneObjects().drawAtFullDetail(fullDetail);
    nox::tools::FlightCapture flight(loop, step);
    if (range && args[0] == "--range") return captureRange(flight, from, to, args[3]);
    if (range) return captureVideo(flight, from, to, args[3]);
    if (args[0] == "--sheet" && args.size() == 3) return captureSheet(flight, std::atoi(args[1].c_str()), args[2]);
    if (args[0].rfind("--", 0) == 0) return usage(argv[0]);
    const int result = captureMoments(flight, args[0], std::vector<std::string>(args.begin() + 1, args.end()));
    return result == usageError ? usage(argv[0]) : result;
}
