// Prints how long start-up takes, split into opening the window (GLFW, the
// context and GLEW) and the first frame. Run it several times and take the
// median: the first run after boot pays for loading the driver from disk.
#include <chrono>
#include <cstdio>

#include "app/FrameLoop.h"
#include "app/ResourceDirectory.h"
#include "app/Window.h"
#include "assets/ImagePrefetch.h"

int main() {
    using Clock = std::chrono::steady_clock;
    const auto milliseconds = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };

    const Clock::time_point start = Clock::now();
    nox::ImagePrefetch images(nox::resourceDirectory);  // as the program starts
    nox::getWindow();
    const Clock::time_point windowOpen = Clock::now();
    {
        nox::FrameLoop loop;
        loop.iterate();
        glFinish();
    }
    const Clock::time_point firstFrame = Clock::now();
    std::printf("window %.2f ms, first frame %.2f ms, total %.2f ms\n", milliseconds(windowOpen - start),
                milliseconds(firstFrame - windowOpen), milliseconds(firstFrame - start));
    return 0;
}
