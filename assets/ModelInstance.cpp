#include "assets/ModelInstance.h"

#include "app/Transform.h"
#include "app/ViewCulling.h"

namespace nox::assimp {

void ModelInstance::updateModelMatrix() {
    modelMatrix = createModelMatrix(position, rotation, scale);
}

bool ModelInstance::mayBeSeen(const glm::mat4& viewProjection, const glm::vec4& clipPlane) const {
    for (const ModelMesh* mesh : meshes) {
        if (boxMayBeSeen(mesh->boundsLow, mesh->boundsHigh, modelMatrix, viewProjection, clipPlane)) return true;
    }
    return false;
}

}  // namespace nox::assimp
