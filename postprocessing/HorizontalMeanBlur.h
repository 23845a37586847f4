#pragma once

#include "postprocessing/InputEffect.h"

namespace nox::blur {

// The row pass of a separable box filter: every texel becomes the mean of
// "kernelWidth" texels of its row.
class HorizontalMeanBlur : public postprocessing::SingleInputEffect {
public:
    HorizontalMeanBlur();

    GLint targetWidth = -1;
    GLint kernelWidth = -1;

protected:
    void getAllUniformLocations() override;
};

}  // namespace nox::blur
