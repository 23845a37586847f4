#include "shapes/Shape.h"

#include "app/Transform.h"

namespace nox::shapes {

glm::mat4 Shape::modelMatrix() const {
    return createModelMatrix(position, rotation, scale);
}

}  // namespace nox::shapes
