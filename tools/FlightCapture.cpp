#include "tools/FlightCapture.h"

#include <algorithm>
#include <cmath>

namespace nox::tools {

long frameIndexOf(double seconds, double frameTime, long after) {
    const long nearest = frameTime > 0.0 ? std::lround(seconds / frameTime) : after + 1;
    return std::max(nearest, after + 1);
}

FlightCapture::FlightCapture(FrameLoop& loop, double frameTime) : loop(loop), step(frameTime) {
    loop.iterate(0.0);
}

Image FlightCapture::frameAt(double seconds) {
    const long target = frameIndexOf(seconds, step, frames);
    while (frames < target) {
        ++frames;
        if (frames >= target - 1) {
            loop.iterate(step);
        } else {
            loop.iterateWithoutDrawing(step);
        }
    }
    return readBackBuffer();
}

Image FlightCapture::nextFrame() {
    ++frames;
    loop.iterate(step);
    return readBackBuffer();
}

}  // namespace nox::tools
