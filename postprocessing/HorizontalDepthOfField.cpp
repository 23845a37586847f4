#include "postprocessing/HorizontalDepthOfField.h"

#include "app/DisplayConfig.h"

namespace nox::depthoffield {

HorizontalDepthOfField::HorizontalDepthOfField(float maxDeltaDepth)
    : DepthOfField({"../res/shader/horizontalDepthOfField", "targetWidth", "maxKernelWidth", activeDisplay.windowWidth},
                   maxDeltaDepth) {}

}  // namespace nox::depthoffield
