#pragma once

#include "postprocessing/InputEffect.h"

namespace nox::colors {

// Spreads or narrows the colours about mid-grey by the factor "contrast".
class ContrastChanger : public postprocessing::SingleInputEffect {
public:
    ContrastChanger();

    GLint contrast = -1;

protected:
    void getAllUniformLocations() override;
};

}  // namespace nox::colors
