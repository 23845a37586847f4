#include "assets/ModelInstance.h"

#include "app/Transform.h"

namespace nox::assimp {

void ModelInstance::updateModelMatrix() {
    modelMatrix = createModelMatrix(position, rotation, scale);
}

}  // namespace nox::assimp
