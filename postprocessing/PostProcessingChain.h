#pragma once

#include <vector>

#include <GL/glew.h>

#include "assets/GlObject.h"
#include "postprocessing/CartesianToPolarCentered.h"
#include "postprocessing/CartesianToPolarUncentered.h"
#include "postprocessing/Combiner.h"
#include "postprocessing/ContrastChanger.h"
#include "postprocessing/GodRayBlur.h"
#include "postprocessing/HorizontalDepthOfField.h"
#include "postprocessing/HorizontalMeanBlur.h"
#include "postprocessing/PolarToCartesianCentered.h"
#include "postprocessing/PolarToCartesianUncentered.h"
#include "postprocessing/VerticalDepthOfField.h"
#include "postprocessing/VerticalMeanBlur.h"

namespace nox::postprocessing {

// Every full-screen effect of the renderer, built together on first use, and
// the god rays they make of the scene: the highlight image is turned into
// polar coordinates about the light, blurred along the rays, turned back and
// laid over the picture in the window.
class PostProcessingChain {
public:
    // Depth difference at which the depth-of-field blur reaches its widest kernel.
    static constexpr float maxDeltaDepth = 20.0f;

    PostProcessingChain();

    PostProcessingChain(const PostProcessingChain&) = delete;
    PostProcessingChain& operator=(const PostProcessingChain&) = delete;

    // Draws the final image into the window. Expects inputValues = the light's
    // position in texture coordinates (x, then y from the bottom) and
    // inputTextures = the scene's colour attachments 0, 1, 2 and its depth
    // texture. Empties both lists; leaves depth testing on, no vertex array
    // bound and program 0 in use.
    void run();

    std::vector<GLuint> inputTextures;
    std::vector<float> inputValues;

    colors::ContrastChanger contrastChanger;
    blur::HorizontalMeanBlur horizontalMeanBlur;
    blur::VerticalMeanBlur verticalMeanBlur;
    Combiner combiner;
    polarcoorinates::CartesianToPolarCentered cartesianToPolarCentered;
    polarcoorinates::CartesianToPolarUncentered cartesianToPolarUncentered;
    polarcoorinates::PolarToCartesianCentered polarToCartesianCentered;
    polarcoorinates::PolarToCartesianUncentered polarToCartesianUncentered;
    depthoffield::VerticalDepthOfField verticalDepthOfField;
    depthoffield::HorizontalDepthOfField horizontalDepthOfField;
    blur::GodRayBlur godRayBlur;
    // What the combiner lays over the picture when the rays have no strength.
    const TextureObject noRays;
};

// The one chain, built on the first call: eleven programs and images, so the
// first frame that asks for it pays for them.
PostProcessingChain& getPostProcessingChain();

}  // namespace nox::postprocessing
