#pragma once

namespace nox {

// The steps of one frame, in the order they run, as the frame benchmark
// reports them.
enum class FrameStep {
    Camera,  // input, mouse look and the flight: window-system round trips, no GPU work
    ParticleCompute,
    Refraction,
    Reflection,
    Queries,  // reading the last frame's counts and the counting pass
    Models,
    Terrain,
    Water,
    SkyAndMoon,
    LightCubes,
    Particles,
    Presentation,  // the effect chain or the plain copy
    Flares,
    count
};

inline constexpr int frameStepCount = static_cast<int>(FrameStep::count);

const char* frameStepName(FrameStep step);

// Told where a frame begins and where each of its steps ends, so that each
// step's work can be timed. The program itself never installs one: without a
// watcher nothing is told and nothing waits for the GPU.
class FrameStepWatcher {
public:
    virtual void frameBegan() = 0;
    // The work since the last call (or the frame's beginning) belongs to
    // `step`; a step may end more than once in a frame.
    virtual void stepEnded(FrameStep step) = 0;
    virtual void frameEnded() = 0;

protected:
    ~FrameStepWatcher() = default;
};

extern FrameStepWatcher* frameStepWatcher;

inline void endFrameStep(FrameStep step) {
    if (frameStepWatcher != nullptr) frameStepWatcher->stepEnded(step);
}

}  // namespace nox
