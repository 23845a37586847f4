// One whole loop of the camera flight, frame after frame as the program runs
// it but with a coarse fixed frame time, watching for anything that piles up:
// GL errors, GL objects and memory. Meant for the ASan + UBSan build, where a
// sanitizer report ends the run.
#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "app/FrameLoop.h"
#include "tests/support/GlTestSupport.h"

// Present in the sanitizer runtime only: the bytes the process holds, without
// the freed memory the sanitizer keeps in quarantine.
extern "C" size_t __sanitizer_get_current_allocated_bytes()  // NOLINT(bugprone-reserved-identifier): the runtime's name
    __attribute__((weak));

namespace {

// 5/64 of a key-frame segment a frame, exact in binary, so that the frames add
// up to exactly one 150 s loop.
constexpr double frameTime = 0.78125;
constexpr int frameCount = 192;

// Memory is weighed as the heap the process holds, which includes the GL
// driver's images, buffers and compiled shaders; run with LP_NUM_THREADS=0,
// as the suite does, since the driver's rasteriser threads otherwise keep
// tens of megabytes in flight that come and go from frame to frame. After the
// first frames the heap may grow only with the parts built on first use
// (frames that add GL objects) and by little besides, as the driver keeps
// something for a new view. Every so often the loop pauses: frames of no time
// at all, which draw the same picture through every step of a frame. Over
// those a leak grows the heap in every pause alike (one of 64 KB a frame by
// 384 KB), while a driver's own bookkeeping may grow it by tens of kilobytes
// once and then stop: all the pauses together may gain `pausesAllowance`,
// and the last one, by when any such growth has stopped, `lastPauseAllowance`.
constexpr int warmUpFrames = 10;
constexpr long loopAllowance = 4L << 20;  // bytes over the loop's other frames, after warming up
constexpr int framesBetweenPauses = 48;
constexpr int pauseFrames = 8;
constexpr int pauseWarmUpFrames = 2;
constexpr long pausesAllowance = 128 * 1024;    // bytes over the last six frames of every pause together
constexpr long lastPauseAllowance = 16 * 1024;  // bytes over the last pause's last six frames

long heapBytes() {
    if (__sanitizer_get_current_allocated_bytes != nullptr)
        return static_cast<long>(__sanitizer_get_current_allocated_bytes());
    return static_cast<long>(mallinfo2().uordblks);
}

long residentBytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

double megabytes(long bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// The GL objects alive, by kind. Names are small numbers handed out in order;
// the scene has a few hundred.
using Census = std::map<std::string, int>;

Census takeCensus() {
    constexpr GLuint highestName = 4096;
    const std::array<std::pair<const char*, GLboolean (*)(GLuint)>, 8> kinds{{
        {"textures", [](GLuint n) { return glIsTexture(n); }},
        {"buffers", [](GLuint n) { return glIsBuffer(n); }},
        {"vertex arrays", [](GLuint n) { return glIsVertexArray(n); }},
        {"framebuffers", [](GLuint n) { return glIsFramebuffer(n); }},
        {"renderbuffers", [](GLuint n) { return glIsRenderbuffer(n); }},
        {"queries", [](GLuint n) { return glIsQuery(n); }},
        {"programs", [](GLuint n) { return glIsProgram(n); }},
        {"shaders", [](GLuint n) { return glIsShader(n); }},
    }};
    Census census;
    for (const auto& [kind, isOne] : kinds) {
        int alive = 0;
        for (GLuint name = 1; name <= highestName; ++name) alive += isOne(name) == GL_TRUE;
        census[kind] = alive;
    }
    return census;
}

std::string describe(const Census& census) {
    std::string text;
    for (const auto& [kind, count] : census) text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + kind;
    return text;
}

// The parts created on first use after the first frame: the effect chain (the
// first frame with the moon ahead) and the lens flares (the first flare drawn).
// Each may add its objects once.
constexpr int lazyParts = 2;

class Soak : public testing::Test {
protected:
    // One frame and the checks every frame gets: no GL error, no GL object
    // released, new ones only now and then, and what the heap gains in frames
    // that add none.
    void frame(double seconds) {
        loop.iterate(seconds);
        glFinish();  // the frame's work, and the memory it takes, is done
        ++frames;
        ASSERT_EQ(nox::test::glErrorReport(), "") << "frame " << frames;
        const Census census = takeCensus();
        const long heap = heapBytes();
        if (frames == 1) afterFirstFrame = census;
        if (frames > 1) {
            for (const auto& [kind, count] : census)
                ASSERT_GE(count, last[kind]) << kind << " released in frame " << frames;
            if (census != last) {
                ++framesThatAddedObjects;
                std::printf("frame %d added GL objects: %s; heap %+.1f MB\n", frames, describe(census).c_str(),
                            megabytes(heap - lastHeap));
            } else if (frames > warmUpFrames) {
                growthWithoutNewObjects += heap - lastHeap;
            }
        }
        last = census;
        lastHeap = heap;
    }

    nox::FrameLoop loop;
    int frames = 0;
    Census afterFirstFrame;
    Census last;
    int framesThatAddedObjects = 0;
    long lastHeap = 0;
    long growthWithoutNewObjects = 0;
};

TEST_F(Soak, AWholeLoopOfTheFlightRunsCleanAndHoldsSteady) {
    bool flewTheLastSegment = false;
    long pausesGrowth = 0;
    long lastPauseGrowth = 0;
    for (int step = 1; step <= frameCount; ++step) {
        ASSERT_NO_FATAL_FAILURE(frame(frameTime));
        flewTheLastSegment = flewTheLastSegment || loop.path().current == nox::CameraPath::segmentCount - 1;
        if (step == 1 || step == warmUpFrames) {
            std::printf("frame %d: heap %.1f MB, resident %.1f MB\n", step, megabytes(heapBytes()),
                        megabytes(residentBytes()));
        }
        if (step % framesBetweenPauses != 0) continue;
        for (int i = 0; i < pauseWarmUpFrames; ++i) ASSERT_NO_FATAL_FAILURE(frame(0.0));
        const long pauseStart = heapBytes();
        for (int i = pauseWarmUpFrames; i < pauseFrames; ++i) ASSERT_NO_FATAL_FAILURE(frame(0.0));
        lastPauseGrowth = heapBytes() - pauseStart;
        pausesGrowth += lastPauseGrowth;
        std::printf("at %.1f s of the flight: heap %.1f MB, %+ld bytes over %d paused frames, resident %.1f MB\n",
                    step * frameTime, megabytes(heapBytes()), lastPauseGrowth, pauseFrames - pauseWarmUpFrames,
                    megabytes(residentBytes()));
    }
    EXPECT_LE(pausesGrowth, pausesAllowance) << "bytes over every pause together";
    EXPECT_LE(lastPauseGrowth, lastPauseAllowance) << "bytes over the last pause";
    std::printf(
        "%d frames; GL objects after the first: %s\nat the end: %s\nheap at the end %.1f MB, of which %+.2f MB "
        "gained after frame %d in frames that added no GL object\n",
        frames, describe(afterFirstFrame).c_str(), describe(last).c_str(), megabytes(heapBytes()),
        megabytes(growthWithoutNewObjects), warmUpFrames);
    EXPECT_TRUE(flewTheLastSegment && loop.path().current == 0) << "not one whole loop";
    EXPECT_LE(framesThatAddedObjects, lazyParts);
    EXPECT_LE(growthWithoutNewObjects, loopAllowance);
}

}  // namespace
