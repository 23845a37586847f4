#pragma once

#include <array>
#include <chrono>
#include <vector>

#include "app/FrameSteps.h"

namespace nox::tools {

// Times each step of every frame by waiting for the GPU at each step's end
// (glFinish) and reading a CPU clock: this platform's timer queries do not
// see the rasteriser's threads.
class StepTimer final : public FrameStepWatcher {
public:
    using Milliseconds = double;
    using StepTimes = std::array<Milliseconds, frameStepCount>;

    void frameBegan() override;
    void stepEnded(FrameStep step) override;
    void frameEnded() override;

    std::vector<StepTimes> steps;       // one entry per frame; a step ended twice adds up
    std::vector<Milliseconds> frames;   // the whole of each frame

private:
    using Clock = std::chrono::steady_clock;
    Milliseconds sinceLastMark();

    Clock::time_point frameStart;
    Clock::time_point lastMark;
    StepTimes current{};
};

// The value below which the given share of the samples lie (0.5: the median),
// by the nearest rank.
double percentile(std::vector<double> samples, double share);

}  // namespace nox::tools
