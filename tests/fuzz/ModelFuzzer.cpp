// libFuzzer target: any bytes as a Wavefront model, through the importer with
// the loader's flags and the loader's mesh building, without GL.
#include <cstddef>
#include <cstdint>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "assets/MeshGeometry.h"
#include "assets/ModelLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(data, size, nox::assimp::ModelLoader::importFlags, "obj");
    if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) != 0 || scene->mRootNode == nullptr) return 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const nox::assimp::MeshGeometry geometry(*scene->mMeshes[m]);
        (void)geometry;
    }
    return 0;
}
