#pragma once

#include <GL/glew.h>

#include "assets/GlObject.h"

namespace nox {

// One GL_SAMPLES_PASSED query and the last count read from it. The query owns
// its GL name and deletes it with itself; it moves but is never copied.
class OcclusionQuery {
public:
    OcclusionQuery();

    // Counts the samples drawn between the two calls.
    void begin();
    void end();

    // Takes the count of the last measurement into `samples`, waiting for the
    // GPU if it is not ready. Before the first measurement there is nothing
    // to read and the count stays 0.
    void readResult();

    GLenum target = GL_SAMPLES_PASSED;
    QueryObject name;
    GLint samples = 0;

private:
    bool measured = false;
};

}  // namespace nox
