#pragma once

#include "postprocessing/InputEffect.h"

namespace nox::blur {

// The middle step of the god rays: smears the polar highlight image up its
// radius axis, so that after the inverse transform the light runs outward
// along the rays from the light source. Its strength follows "alpha", which
// the caller sets before every pass with the program in use.
class GodRayBlur : public postprocessing::SingleInputEffect {
public:
    GodRayBlur();

    GLint radius = -1;
    GLint alpha = -1;
    GLint targetHeight = -1;

protected:
    void getAllUniformLocations() override;
};

}  // namespace nox::blur
