// libFuzzer target: any bytes as a Wavefront model, through the importer with
// the loader's flags and the loader's mesh building, without GL.
//
// The bytes go through a file, as the loader reads models: the importer's
// reader from memory crashes on inputs the file reader takes (the 16 bytes
// in seeds/model/memory_reader_crash.obj, with this Assimp version), and
// that reader is never used by the program.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include "assets/MeshGeometry.h"
#include "assets/ModelLoader.h"

namespace {

// A scratch file of this process's own, removed at exit.
struct ScratchModel {
    std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("noxvale_model_fuzz_" + std::to_string(getpid()));
    std::string path = (directory / "model.obj").string();

    ScratchModel() { std::filesystem::create_directories(directory); }
    ~ScratchModel() { std::filesystem::remove_all(directory); }
};

const std::string& modelPath() {
    static const ScratchModel model;
    return model.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(modelPath().c_str(), "wb");
    if (file == nullptr) return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) return 0;

    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(modelPath(), nox::assimp::ModelLoader::importFlags);
    if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) != 0 || scene->mRootNode == nullptr) return 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const nox::assimp::MeshGeometry geometry(*scene->mMeshes[m]);
        (void)geometry;
    }
    return 0;
}
