#pragma once

#include "postprocessing/InputEffect.h"

namespace nox::depthoffield {

// One axis of a separable depth-of-field blur over a colour image (unit 0)
// and its depth image (unit 1). Each pixel is averaged along its row or
// column over a kernel that grows with the distance between its depth and the
// focus, reaching the largest kernel "maxDeltaDepth" away from it.
class DepthOfField : public postprocessing::TwoInputEffect {
public:
    static constexpr GLint colourUnit = 0;
    static constexpr GLint depthUnit = 1;

    GLint targetSize = -1;  // "targetWidth" or "targetHeight"
    GLint focusDepth = -1;  // never set: the program's own focus holds
    GLint maxDeltaDepth = -1;
    GLint maxKernelSize = -1;  // "maxKernelWidth" or "maxKernelHeight"
    GLint colorTexture = -1;
    GLint depthTexture = -1;

protected:
    // What tells the two passes apart: their program and the names and value
    // of their size uniforms.
    struct Axis {
        const char* stem;
        const char* targetSizeName;
        const char* maxKernelSizeName;
        GLint targetSize;
    };

    DepthOfField(const Axis& axis, float maximumDepthDifference);

    void getAllUniformLocations() override;

    // Every pass names the two units, so that the depth comes from unit 1
    // whichever pass runs first.
    void setPassUniforms() override;

private:
    const char* targetSizeName;
    const char* maxKernelSizeName;
};

}  // namespace nox::depthoffield
