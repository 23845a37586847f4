#pragma once

#include "postprocessing/DepthOfField.h"

namespace nox::depthoffield {

// The depth-of-field blur along each column.
class VerticalDepthOfField : public DepthOfField {
public:
    explicit VerticalDepthOfField(float maxDeltaDepth);
};

}  // namespace nox::depthoffield
