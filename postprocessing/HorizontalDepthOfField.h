#pragma once

#include "postprocessing/DepthOfField.h"

namespace nox::depthoffield {

// The depth-of-field blur along each row.
class HorizontalDepthOfField : public DepthOfField {
public:
    explicit HorizontalDepthOfField(float maxDeltaDepth);
};

}  // namespace nox::depthoffield
