#pragma once

#include "postprocessing/InputEffect.h"

namespace nox::blur {

// The column pass of a separable box filter: every texel becomes the mean of
// "kernelHeight" texels of its column.
class VerticalMeanBlur : public postprocessing::SingleInputEffect {
public:
    VerticalMeanBlur();

    GLint targetHeight = -1;
    GLint kernelHeight = -1;

protected:
    void getAllUniformLocations() override;
};

}  // namespace nox::blur
