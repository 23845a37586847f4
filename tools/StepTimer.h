#pragma once

#include <array>
#include <chrono>
#include <vector>

#include "app/FrameSteps.h"
#include "assets/GlObject.h"

namespace nox::tools {

// Times each step of every frame by waiting for the GPU at each step's end
// (glFinish) and reading a CPU clock: this platform's timer queries do not
// see the rasteriser's threads. Counts the primitives each step sends to the
// rasteriser too.
class StepTimer final : public FrameStepWatcher {
public:
    using Milliseconds = double;
    using StepTimes = std::array<Milliseconds, frameStepCount>;
    using StepCounts = std::array<double, frameStepCount>;

    StepTimer();

    void frameBegan() override;
    void stepEnded(FrameStep step) override;
    void frameEnded() override;

    std::vector<StepTimes> steps;        // one entry per frame; a step ended twice adds up
    std::vector<Milliseconds> frames;    // the whole of each frame
    std::vector<StepCounts> primitives;  // one entry per frame, as `steps`

private:
    using Clock = std::chrono::steady_clock;
    Milliseconds sinceLastMark();

    Clock::time_point frameStart;
    Clock::time_point lastMark;
    StepTimes current{};
    StepCounts currentPrimitives{};
    QueryObject primitiveQuery;  // counting since the last mark
};

// The value below which the given share of the samples lie (0.5: the median),
// by the nearest rank.
double percentile(std::vector<double> samples, double share);

}  // namespace nox::tools
