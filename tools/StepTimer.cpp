#include "tools/StepTimer.h"

#include <algorithm>
#include <cmath>

#include <GL/glew.h>

namespace nox::tools {

StepTimer::StepTimer() : primitiveQuery(gl::generateQuery()) {}

void StepTimer::frameBegan() {
    glFinish();
    frameStart = lastMark = Clock::now();
    current.fill(0.0);
    currentPrimitives.fill(0.0);
    glBeginQuery(GL_PRIMITIVES_GENERATED, primitiveQuery);
}

void StepTimer::stepEnded(FrameStep step) {
    current[static_cast<size_t>(step)] += sinceLastMark();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint counted = 0;
    glGetQueryObjectuiv(primitiveQuery, GL_QUERY_RESULT, &counted);
    currentPrimitives[static_cast<size_t>(step)] += counted;
    glBeginQuery(GL_PRIMITIVES_GENERATED, primitiveQuery);
}

void StepTimer::frameEnded() {
    glEndQuery(GL_PRIMITIVES_GENERATED);
    glFinish();
    frames.push_back(std::chrono::duration<Milliseconds, std::milli>(Clock::now() - frameStart).count());
    steps.push_back(current);
    primitives.push_back(currentPrimitives);
}

StepTimer::Milliseconds StepTimer::sinceLastMark() {
    glFinish();
    const Clock::time_point now = Clock::now();
    const Milliseconds elapsed = std::chrono::duration<Milliseconds, std::milli>(now - lastMark).count();
    lastMark = now;
    return elapsed;
}

double percentile(std::vector<double> samples, double share) {
    if (samples.empty()) return 0.0;
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<size_t>(std::ceil(share * static_cast<double>(samples.size())));
    return samples[std::clamp<size_t>(rank, 1, samples.size()) - 1];
}

}  // namespace nox::tools
