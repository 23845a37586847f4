#include "app/FrameSteps.h"

namespace nox {

FrameStepWatcher* frameStepWatcher = nullptr;

const char* frameStepName(FrameStep step) {
    static const char* const names[frameStepCount] = {
        "camera", "particle compute", "refraction",  "reflection", "queries",      "models", "terrain",
        "water",  "sky and moon",     "light cubes", "particles",  "presentation", "flares"};
    return names[static_cast<int>(step)];
}

}  // namespace nox
