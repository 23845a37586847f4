#include "app/OcclusionQuery.h"

namespace nox {

OcclusionQuery::OcclusionQuery() : name(gl::generateQuery()) {}

void OcclusionQuery::begin() {
    glBeginQuery(target, name);
}

void OcclusionQuery::end() {
    glEndQuery(target);
    measured = true;
}

void OcclusionQuery::readResult() {
    // A generated name becomes a query object only when it is first begun;
    // asking it for a result before that is an error.
    if (measured) glGetQueryObjectiv(name, GL_QUERY_RESULT, &samples);
}

}  // namespace nox
