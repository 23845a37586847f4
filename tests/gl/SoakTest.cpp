// One whole loop of the camera flight, frame after frame as the program runs
// it but with a coarse fixed frame time, watching for anything that piles up:
// GL errors, GL objects and memory. Meant for the ASan + UBSan build, where a
// sanitizer report ends the run.
#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <new>
#include <string>

#include "app/FrameLoop.h"
#include "tests/support/GlTestSupport.h"

// Present in the sanitizer runtime only: the bytes the process holds, without
// the freed memory the sanitizer keeps in quarantine.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

// Where the linker put this program's code, the engine included.
extern "C" const char __executable_start;
extern "C" const char etext;

namespace {

// The GL driver keeps its images, buffers and compiled shaders in this
// process's heap, in amounts that rise and fall with the view by tens of
// megabytes. What our own code holds is told apart by where each operator new
// is called from. The C++ library's own allocations (std::string's among
// them) are not counted.
std::atomic<long> ownHeapBytes{0};

struct alignas(alignof(std::max_align_t)) AllocationHeader {
    std::size_t size;
    bool own;
};

void* allocate(std::size_t size, const void* caller) {
    auto* header = static_cast<AllocationHeader*>(std::malloc(sizeof(AllocationHeader) + size));
    if (header == nullptr) throw std::bad_alloc();
    header->size = size;
    header->own = caller >= &__executable_start && caller < &etext;
    if (header->own) ownHeapBytes += static_cast<long>(size);
    return header + 1;
}

void release(void* pointer) {
    if (pointer == nullptr) return;
    AllocationHeader* header = static_cast<AllocationHeader*>(pointer) - 1;
    if (header->own) ownHeapBytes -= static_cast<long>(header->size);
    std::free(header);
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size, __builtin_return_address(0));
}
void* operator new[](std::size_t size) {
    return allocate(size, __builtin_return_address(0));
}
void operator delete(void* pointer) noexcept {
    release(pointer);
}
void operator delete[](void* pointer) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    release(pointer);
}

namespace {

// A sixteenth of a key-frame segment a frame, exact in binary, so that the
// frames add up to exactly one 150 s loop.
constexpr double frameTime = 0.625;
constexpr int frameCount = 240;
constexpr int warmUpFrames = 10;              // building, loading, filling the air with particles
constexpr long ownHeapAllowance = 64 * 1024;  // bytes our code may still gain after warming up

long processHeapBytes() {
    if (__sanitizer_get_current_allocated_bytes != nullptr) return static_cast<long>(__sanitizer_get_current_allocated_bytes());
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

void reportMemory(int frame) {
    std::printf("frame %d: our heap %.2f MB, process heap %.1f MB, resident %.1f MB\n", frame,
                megabytes(ownHeapBytes), megabytes(processHeapBytes()), megabytes(residentBytes()));
}

TEST(Soak, AWholeLoopOfTheFlightRunsCleanAndHoldsSteady) {
    nox::FrameLoop loop;
    Census afterFirstFrame;
    Census last;
    int framesThatAddedObjects = 0;
    bool flewTheLastSegment = false;
    long ownHeapAfterWarmUp = 0;
    for (int frame = 1; frame <= frameCount; ++frame) {
        loop.iterate(frameTime);
        ASSERT_EQ(nox::test::glErrorReport(), "") << "frame " << frame;
        const Census census = takeCensus();
        if (frame == 1) afterFirstFrame = census;
        if (frame > 1) {
            for (const auto& [kind, count] : census) ASSERT_GE(count, last[kind]) << kind << " released in frame " << frame;
            if (census != last) {
                ++framesThatAddedObjects;
                std::printf("frame %d added GL objects: %s\n", frame, describe(census).c_str());
            }
        }
        last = census;
        flewTheLastSegment = flewTheLastSegment || loop.path().current == nox::CameraPath::segmentCount - 1;
        if (frame == warmUpFrames) ownHeapAfterWarmUp = ownHeapBytes;
        if (frame == 1 || frame == warmUpFrames || frame == frameCount / 2 || frame == frameCount) reportMemory(frame);
    }
    std::printf("GL objects after the first frame: %s\nat the end: %s\n", describe(afterFirstFrame).c_str(),
                describe(last).c_str());
    EXPECT_TRUE(flewTheLastSegment && loop.path().current == 0) << "not one whole loop";
    EXPECT_LE(framesThatAddedObjects, lazyParts);
    EXPECT_LE(ownHeapBytes - ownHeapAfterWarmUp, ownHeapAllowance);
}

}  // namespace
