#pragma once

#include "postprocessing/InputEffect.h"

namespace nox::postprocessing {

// The last pass of the god rays: lays the ray image (unit 1) over the scene's
// picture (unit 0).
class Combiner : public TwoInputEffect {
public:
    static constexpr GLint colourUnit = 0;
    static constexpr GLint highlightUnit = 1;

    Combiner();

    GLint colourTexture = -1;
    GLint highlightTexture = -1;

protected:
    void getAllUniformLocations() override;
};

}  // namespace nox::postprocessing
