#include "postprocessing/VerticalDepthOfField.h"

#include "app/DisplayConfig.h"

namespace nox::depthoffield {

VerticalDepthOfField::VerticalDepthOfField(float maxDeltaDepth)
    : DepthOfField(
          {"../res/shader/verticalDepthOfField", "targetHeight", "maxKernelHeight", activeDisplay.windowHeight},
          maxDeltaDepth) {}

}  // namespace nox::depthoffield
